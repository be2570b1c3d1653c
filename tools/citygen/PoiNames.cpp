#include "tools/citygen/PoiNames.h"

namespace citygen {
namespace {

const std::vector<std::string> kDisciplines = {"理工",   "师范", "医科",     "财经", "艺术", "农林", "交通",
                                               "外国语", "工商", "信息工程", "建筑", "电力", "体育", "警官",
                                               "商贸",   "旅游", "纺织",     "机电", "化工", "传媒"};
const std::vector<std::string> kBankBrands = {"商业银行", "农商银行",   "汇通银行", "嘉禾银行", "兴邦银行",
                                              "瑞泽银行", "永安信银行", "华通银行", "恒信银行", "泰和银行"};

std::string Digits(Random& random, int count) {
  std::string out;
  for (int k = 0; k < count; ++k) out += char('0' + random.Between(0, 9));
  return out;
}

}  // namespace

std::string PoiNamer::Unique(std::string name, const std::string& road, const char* branchWord) {
  if (names.Claim(name)) return name;
  const std::string branch = name + "(" + road + branchWord + ")";
  if (names.Claim(branch)) return branch;
  for (int k = 2;; ++k) {
    const std::string numbered = name + "(" + road + std::to_string(k) + branchWord + ")";
    if (names.Claim(numbered)) return numbered;
  }
}

std::string PoiNamer::Telephone() {
  Random& random = names.random();
  const double pick = random.Unit();
  if (pick < 0.12) return "";
  if (pick < 0.45) return "0736" + Digits(random, 7);  // the city's area code and a landline
  static const std::vector<std::string> prefixes = {"13", "15", "18", "17", "19"};
  return random.Pick(prefixes) + Digits(random, 9);
}

std::string PoiNamer::Web(const std::string& latin) {
  Random& random = names.random();
  if (random.Chance(0.3)) return "";
  const double tld = random.Unit();
  const std::string host = latin + (tld < 0.6 ? ".com" : tld < 0.85 ? ".cn" : ".com.cn");
  const double scheme = random.Unit();
  if (scheme < 0.45) return "http://www." + host;
  if (scheme < 0.6) return "https://www." + host;
  if (scheme < 0.9) return "www." + host;  // no scheme, as people often write it
  return host;
}

Poi PoiNamer::Dining(const std::string& road, int houseNumber) {
  Random& random = names.random();
  std::string name, latin;
  const double pick = random.Unit();
  // Family names go with eating houses; venues such as tea houses and bars take fancy words.
  const Word& kind = random.Pick(pick < 0.55 && random.Chance(0.4) ? VenueKinds() : FoodKinds());
  if (pick < 0.55) {
    const Word& word = random.Pick(DiningWords());
    name = word.text + kind.text;
    latin = word.latin + kind.latin;
  } else {
    const Word& surname = random.Pick(Surnames());
    const bool family = pick < 0.75;
    name = (family ? "老" + surname.text + "家" : surname.text + "记") + kind.text;
    latin = (family ? "lao" + surname.latin + "jia" : surname.latin + "ji") + kind.latin;
  }
  Poi poi;
  poi.name = Unique(name, road, "店");
  if (poi.name != name) latin += std::to_string(random.Between(1, 99));
  poi.linkman = random.Chance(0.1) ? "" : names.Person();
  poi.tel = Telephone();
  poi.address = random.Chance(0.05) ? "" : cityStem + "市" + road + std::to_string(houseNumber) + "号";
  poi.web = Web(latin);
  return poi;
}

std::string PoiNamer::College() {
  Random& random = names.random();
  for (;;) {
    const double place = random.Unit();
    const std::string prefix = place < 0.5   ? cityStem
                               : place < 0.8 ? random.Pick(districtStems)
                                             : names.Stem();
    const double kind = random.Unit();
    std::string name;
    if (kind < 0.08)
      name = prefix + "大学";
    else if (kind < 0.3)
      name = prefix + random.Pick(kDisciplines) + "大学";
    else if (kind < 0.6)
      name = prefix + random.Pick(kDisciplines) + "学院";
    else if (kind < 0.8)
      name = prefix + random.Pick(kDisciplines) + "职业技术学院";
    else if (kind < 0.9)
      name = prefix + random.Pick(kDisciplines) + "高等专科学校";
    else
      name = prefix + random.Pick(kDisciplines) + "中等专业学校";
    if (names.Claim(name)) return name;
  }
}

std::string PoiNamer::Sight(bool oldTown) {
  Random& random = names.random();
  static const std::vector<std::string> oldTownKinds = {"寺", "塔",   "古街", "祠",   "书院",
                                                        "阁", "故居", "文庙", "会馆", "牌坊"};
  static const std::vector<std::string> cityKinds = {"寺", "塔",   "博物馆", "纪念馆", "观",
                                                     "亭", "古桥", "遗址",   "美术馆", "山庄"};
  for (;;) {
    std::string name = names.Stem() + random.Pick(oldTown ? oldTownKinds : cityKinds);
    if (names.Claim(name)) return name;
  }
}

std::string PoiNamer::Bank(const std::string& road) {
  Random& random = names.random();
  const std::string& brand = random.Pick(kBankBrands);
  const std::string owner = brand == "商业银行" || brand == "农商银行" ? cityStem + brand : brand;
  const double pick = random.Unit();
  std::string name;
  if (pick < 0.7)
    name = owner + names.Stem() + "支行";
  else if (pick < 0.8)
    name = owner + random.Pick(districtStems) + "分行";
  else if (pick < 0.92)
    name = owner + road + "自助银行";
  else
    name = names.Stem() + "证券营业部";
  return Unique(name, road, "网点");
}

std::string PoiNamer::Clinic(const std::string& road) {
  Random& random = names.random();
  const double pick = random.Unit();
  std::string name;
  if (pick < 0.05)
    name = cityStem + "市第" + random.Pick(ChineseNumerals()) + "人民医院";
  else if (pick < 0.12)
    name = random.Pick(districtStems) + "区" + (random.Chance(0.5) ? "人民医院" : "中医院");
  else if (pick < 0.3)
    name = names.Stem() + "社区卫生服务中心";
  else if (pick < 0.45)
    name = random.Pick(Surnames()).text + "氏" + (random.Chance(0.5) ? "口腔诊所" : "中医诊所");
  else if (pick < 0.55)
    name = names.Stem() + (random.Chance(0.5) ? "骨科医院" : "眼科医院");
  else if (pick < 0.8)
    name = names.Stem() + "诊所";
  else
    name = names.Stem() + "门诊部";
  return Unique(name, road, "分部");
}

}  // namespace citygen
