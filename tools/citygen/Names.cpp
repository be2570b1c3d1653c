#include "tools/citygen/Names.h"

namespace citygen {
namespace {

const std::vector<std::string>& FirstParts() {
  static const std::vector<std::string> parts = Characters(
      "安宝博昌长朝成崇春翠大德凤富福广桂海和河红宏华怀欢黄惠吉嘉建江金锦景静九聚康兰乐丽莲临柳龙隆鹿"
      "梅民明宁平清庆秋仁荣瑞三山胜石寿顺松泰桃天通同万望文仙祥新兴秀学阳杨永玉育园云振正竹紫");
  return parts;
}

const std::vector<std::string>& SecondParts() {
  static const std::vector<std::string> parts = Characters(
      "安宝滨昌成川春翠德丰峰凤福港光广海和河湖华槐环汇吉家江锦京井康乐林岭龙隆茂美门明宁平桥清"
      "庆泉仁荣山胜盛石寿顺水松塘桃田亭通湾旺溪霞祥新兴秀阳洋园源苑岳云泽洲竹");
  return parts;
}

const std::vector<std::string>& GivenParts() {
  static const std::vector<std::string> parts = Characters(
      "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉萍红鹏辉建林斌宇浩凯晨欣怡婷雪琳晓文志国海峰春"
      "梅兰云飞龙俊博子佳思雨嘉颖诗宁一天");
  return parts;
}

}  // namespace

std::string CityStem(const std::string& cityName) {
  const std::string suffix = "市";
  const bool hasSuffix = cityName.size() > suffix.size() && cityName.ends_with(suffix);
  return hasSuffix ? cityName.substr(0, cityName.size() - suffix.size()) : cityName;
}

std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t k = 0; k < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[k]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    out.push_back(text.substr(k, length));
    k += length;
  }
  return out;
}

std::string NameBook::Stem() {
  for (int misses = 0;; ++misses) {
    const std::string& first = random_.Pick(FirstParts());
    const std::string& second = random_.Pick(SecondParts());
    std::string stem = first + second;
    if (first == second) continue;
    // Once two-character stems get hard to find (a very large city), add a third character.
    if (misses > 20 && used_.count("stem:" + stem)) stem += random_.Pick(SecondParts());
    if (Claim("stem:" + stem)) return stem;
  }
}

std::string NameBook::Person() {
  std::string name = random_.Pick(Surnames()).text + random_.Pick(GivenParts());
  if (random_.Chance(0.6)) name += random_.Pick(GivenParts());
  return name;
}

const std::vector<Word>& DiningWords() {
  static const std::vector<Word> words = {
      {"福满", "fuman"},          {"聚贤", "juxian"},
      {"好运来", "haoyunlai"},    {"老街", "laojie"},
      {"川香", "chuanxiang"},     {"湘味", "xiangwei"},
      {"粤海", "yuehai"},         {"金桂", "jingui"},
      {"百味", "baiwei"},         {"悦来", "yuelai"},
      {"同福", "tongfu"},         {"德顺", "deshun"},
      {"和记", "heji"},           {"鸿运", "hongyun"},
      {"食为天", "shiweitian"},   {"小渔村", "xiaoyucun"},
      {"江南春", "jiangnanchun"}, {"一品香", "yipinxiang"},
      {"老码头", "laomatou"},     {"状元楼", "zhuangyuanlou"},
      {"翠竹", "cuizhu"},         {"兰亭", "lanting"},
      {"云水", "yunshui"},        {"清风", "qingfeng"},
      {"明月", "mingyue"},        {"梅园", "meiyuan"},
      {"桃源", "taoyuan"},        {"荷塘", "hetang"},
      {"四季", "siji"},           {"满堂红", "mantanghong"},
      {"喜相逢", "xixiangfeng"},  {"知味", "zhiwei"},
      {"渔家", "yujia"},          {"山城", "shancheng"},
      {"蜀韵", "shuyun"},         {"西湖春", "xihuchun"},
      {"东篱", "dongli"},         {"家常", "jiachang"},
      {"红灯笼", "hongdenglong"}, {"老灶台", "laozaotai"},
      {"聚福园", "jufuyuan"},     {"品香", "pinxiang"},
      {"锦绣", "jinxiu"},         {"望江", "wangjiang"},
      {"古城", "gucheng"},        {"半亩田", "banmutian"},
      {"三味", "sanwei"},         {"竹林", "zhulin"},
  };
  return words;
}

const std::vector<Word>& FoodKinds() {
  static const std::vector<Word> kinds = {
      {"酒家", "jiujia"},    {"饭店", "fandian"},  {"火锅", "huoguo"},      {"面馆", "mianguan"},
      {"烧烤", "shaokao"},   {"酒楼", "jiulou"},   {"小吃", "xiaochi"},     {"私房菜", "sifangcai"},
      {"海鲜楼", "haixian"}, {"饺子馆", "jiaozi"}, {"农家乐", "nongjiale"}, {"菜馆", "caiguan"},
  };
  return kinds;
}

const std::vector<Word>& VenueKinds() {
  static const std::vector<Word> kinds = {
      {"茶楼", "chalou"}, {"咖啡", "cafe"},   {"KTV", "ktv"},        {"歌城", "gecheng"}, {"茶社", "chashe"},
      {"酒吧", "bar"},    {"影城", "cinema"}, {"甜品店", "tianpin"}, {"西餐厅", "xican"},
  };
  return kinds;
}

const std::vector<Word>& Surnames() {
  static const std::vector<Word> names = {
      {"王", "wang"},  {"李", "li"},    {"张", "zhang"}, {"刘", "liu"},  {"陈", "chen"}, {"杨", "yang"},
      {"黄", "huang"}, {"赵", "zhao"},  {"吴", "wu"},    {"周", "zhou"}, {"徐", "xu"},   {"孙", "sun"},
      {"马", "ma"},    {"朱", "zhu"},   {"胡", "hu"},    {"郭", "guo"},  {"何", "he"},   {"林", "lin"},
      {"罗", "luo"},   {"梁", "liang"}, {"宋", "song"},  {"唐", "tang"}, {"许", "xu"},   {"韩", "han"},
      {"邓", "deng"},  {"曹", "cao"},   {"彭", "peng"},  {"曾", "zeng"}, {"田", "tian"}, {"董", "dong"},
      {"潘", "pan"},   {"蒋", "jiang"}, {"蔡", "cai"},   {"余", "yu"},   {"杜", "du"},   {"叶", "ye"},
      {"程", "cheng"}, {"苏", "su"},    {"魏", "wei"},   {"丁", "ding"}, {"沈", "shen"}, {"姚", "yao"},
  };
  return names;
}

const std::vector<std::string>& ChineseNumerals() {
  static const std::vector<std::string> numerals = {"一", "二", "三", "四", "五",
                                                    "六", "七", "八", "九", "十"};
  return numerals;
}

}  // namespace citygen
