#!/usr/bin/env python3
"""Writes the readings of the Han characters as a C++ table (PinyinTable.cpp).

usage: MakePinyinTable.py Unihan_Readings.txt[.bz2] OUT.cpp

Every reading of kMandarin, kXHC1983 and kHanyuPinyin counts; kMandarin's comes first (it
orders names). Tone marks are dropped, ü is written v and, as many people type it, u too.
"""
import bz2
import sys
import unicodedata

FIELDS = ("kMandarin", "kXHC1983", "kHanyuPinyin")


def toneless(reading):
    out = []
    for c in unicodedata.normalize("NFD", reading.lower()):
        if c == "\u0308":  # the diaeresis of ü
            out[-1] = "v"
        elif "a" <= c <= "z":
            out.append(c)
        elif unicodedata.combining(c) == 0:
            raise ValueError("unexpected letter %r in %r" % (c, reading))
    return "".join(out)


def readings_of(value):
    for token in value.split():
        for reading in token.rsplit(":", 1)[-1].split(","):
            syllable = toneless(reading.strip("*"))
            if syllable:
                yield syllable
                if "v" in syllable:
                    yield syllable.replace("v", "u")


def read(path):
    opener = bz2.open if path.endswith(".bz2") else open
    found = {}
    with opener(path, "rt", encoding="utf-8") as lines:
        for line in lines:
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 3 or parts[1] not in FIELDS:
                continue
            found.setdefault(int(parts[0][2:], 16), {}).setdefault(parts[1], []).extend(readings_of(parts[2]))
    table = {}
    for cp, fields in found.items():
        ordered = []
        for field in FIELDS:
            for syllable in fields.get(field, []):
                if syllable not in ordered:
                    ordered.append(syllable)
        table[cp] = ordered
    return table


def numbers(values, per_line=16):
    values = list(values)
    return ",\n".join("    " + ", ".join(str(v) for v in values[i:i + per_line])
                      for i in range(0, len(values), per_line))


def main():
    source, out = sys.argv[1], sys.argv[2]
    table = read(source)
    syllables = sorted({s for readings in table.values() for s in readings})
    ids = {s: i for i, s in enumerate(syllables)}
    offsets, text = [0], ""
    for s in syllables:
        text += s
        offsets.append(len(text))
    code_points = sorted(table)
    starts, readings = [0], []
    for cp in code_points:
        readings.extend(ids[s] for s in table[cp])
        starts.append(len(readings))
    with open(out, "w", encoding="utf-8") as f:
        f.write("// Generated from the Unihan database by data/search/MakePinyinTable.py.\n")
        f.write('#include "data/search/PinyinTable.h"\n\nnamespace pinyin {\n\n')
        f.write('const char kSyllableText[] = "%s";\n' % text)
        f.write("const std::uint16_t kSyllableOffsets[] = {\n%s};\n" % numbers(offsets))
        f.write("const int kSyllableCount = %d;\n\n" % len(syllables))
        f.write("const char32_t kCodePoints[] = {\n%s};\n" % numbers(code_points))
        f.write("const int kCodePointCount = %d;\n" % len(code_points))
        f.write("const std::uint32_t kReadingStarts[] = {\n%s};\n" % numbers(starts))
        f.write("const std::uint16_t kReadings[] = {\n%s};\n\n}  // namespace pinyin\n" % numbers(readings))


if __name__ == "__main__":
    main()
