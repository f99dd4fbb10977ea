#include "tools/datagen/sample_words.h"

namespace qiru::datagen {
namespace {

constexpr SampleWord kCharacters[] = {
    {"的", "de"},    {"是", "shi"},   {"不", "bu"},     {"了", "le"},     {"人", "ren"},   {"我", "wo"},
    {"在", "zai"},   {"有", "you"},   {"他", "ta"},     {"这", "zhe"},    {"中", "zhong"}, {"大", "da"},
    {"来", "lai"},   {"上", "shang"}, {"国", "guo"},    {"个", "ge"},     {"到", "dao"},   {"说", "shuo"},
    {"们", "men"},   {"为", "wei"},   {"子", "zi"},     {"和", "he"},     {"你", "ni"},    {"地", "di"},
    {"出", "chu"},   {"也", "ye"},    {"年", "nian"},   {"就", "jiu"},    {"那", "na"},    {"要", "yao"},
    {"下", "xia"},   {"生", "sheng"}, {"会", "hui"},    {"去", "qu"},     {"之", "zhi"},   {"家", "jia"},
    {"学", "xue"},   {"对", "dui"},   {"可", "ke"},     {"里", "li"},     {"后", "hou"},   {"小", "xiao"},
    {"么", "me"},    {"心", "xin"},   {"多", "duo"},    {"天", "tian"},   {"而", "er"},    {"能", "neng"},
    {"好", "hao"},   {"都", "dou"},   {"然", "ran"},    {"没", "mei"},    {"日", "ri"},    {"于", "yu"},
    {"起", "qi"},    {"还", "hai"},   {"发", "fa"},     {"成", "cheng"},  {"作", "zuo"},   {"当", "dang"},
    {"想", "xiang"}, {"看", "kan"},   {"文", "wen"},    {"无", "wu"},     {"开", "kai"},   {"手", "shou"},
    {"用", "yong"},  {"主", "zhu"},   {"行", "xing"},   {"方", "fang"},   {"如", "ru"},    {"前", "qian"},
    {"所", "suo"},   {"本", "ben"},   {"见", "jian"},   {"经", "jing"},   {"头", "tou"},   {"面", "mian"},
    {"公", "gong"},  {"同", "tong"},  {"三", "san"},    {"老", "lao"},    {"从", "cong"},  {"动", "dong"},
    {"两", "liang"}, {"长", "chang"}, {"民", "min"},    {"样", "yang"},   {"分", "fen"},   {"外", "wai"},
    {"但", "dan"},   {"身", "shen"},  {"高", "gao"},    {"把", "ba"},     {"此", "ci"},    {"一", "yi"},
};

constexpr SampleWord kWords[] = {
    {"我们", "wo men"},     {"中国", "zhong guo"},   {"北京", "bei jing"},   {"上海", "shang hai"},
    {"时间", "shi jian"},   {"问题", "wen ti"},      {"工作", "gong zuo"},   {"学习", "xue xi"},
    {"经济", "jing ji"},    {"发展", "fa zhan"},     {"社会", "she hui"},    {"国家", "guo jia"},
    {"人民", "ren min"},    {"政府", "zheng fu"},    {"企业", "qi ye"},      {"市场", "shi chang"},
    {"技术", "ji shu"},     {"历史", "li shi"},      {"文化", "wen hua"},    {"科学", "ke xue"},
    {"教育", "jiao yu"},    {"生活", "sheng huo"},   {"世界", "shi jie"},    {"朋友", "peng you"},
    {"老师", "lao shi"},    {"学生", "xue sheng"},   {"电脑", "dian nao"},   {"手机", "shou ji"},
    {"速录", "su lu"},      {"比赛", "bi sai"},      {"训练", "xun lian"},   {"键盘", "jian pan"},
    {"汉字", "han zi"},     {"拼音", "pin yin"},     {"语言", "yu yan"},     {"城市", "cheng shi"},
    {"农村", "nong cun"},   {"环境", "huan jing"},   {"健康", "jian kang"},  {"安全", "an quan"},
    {"服务", "fu wu"},      {"管理", "guan li"},     {"研究", "yan jiu"},    {"系统", "xi tong"},
    {"方法", "fang fa"},    {"能力", "neng li"},     {"重要", "zhong yao"},  {"主要", "zhu yao"},
    {"需要", "xu yao"},     {"已经", "yi jing"},     {"因为", "yin wei"},    {"所以", "suo yi"},
    {"但是", "dan shi"},    {"如果", "ru guo"},      {"可以", "ke yi"},      {"今天", "jin tian"},
    {"明天", "ming tian"},  {"春天", "chun tian"},   {"夏天", "xia tian"},   {"秋天", "qiu tian"},
    {"冬天", "dong tian"},  {"新闻", "xin wen"},     {"报告", "bao gao"},    {"会议", "hui yi"},
    {"代表", "dai biao"},   {"改革", "gai ge"},      {"开放", "kai fang"},   {"创新", "chuang xin"},
    {"合作", "he zuo"},     {"交流", "jiao liu"},
};

constexpr SampleWord kPhrases[] = {
    {"改革开放", "gai ge kai fang"},      {"实事求是", "shi shi qiu shi"},      {"与时俱进", "yu shi ju jin"},
    {"一帆风顺", "yi fan feng shun"},     {"万事如意", "wan shi ru yi"},        {"自强不息", "zi qiang bu xi"},
    {"百花齐放", "bai hua qi fang"},      {"千方百计", "qian fang bai ji"},     {"四面八方", "si mian ba fang"},
    {"五湖四海", "wu hu si hai"},         {"风和日丽", "feng he ri li"},        {"春暖花开", "chun nuan hua kai"},
    {"国泰民安", "guo tai min an"},       {"安居乐业", "an ju le ye"},          {"心想事成", "xin xiang shi cheng"},
    {"学以致用", "xue yi zhi yong"},      {"持之以恒", "chi zhi yi heng"},      {"精益求精", "jing yi qiu jing"},
    {"齐心协力", "qi xin xie li"},        {"同心同德", "tong xin tong de"},     {"全心全意", "quan xin quan yi"},
    {"众志成城", "zhong zhi cheng cheng"}, {"日新月异", "ri xin yue yi"},       {"欣欣向荣", "xin xin xiang rong"},
    {"繁荣昌盛", "fan rong chang sheng"}, {"艰苦奋斗", "jian ku fen dou"},      {"勤俭节约", "qin jian jie yue"},
    {"脚踏实地", "jiao ta shi di"},       {"循序渐进", "xun xu jian jin"},      {"熟能生巧", "shu neng sheng qiao"},
    {"温故知新", "wen gu zhi xin"},       {"举一反三", "ju yi fan san"},        {"一丝不苟", "yi si bu gou"},
    {"专心致志", "zhuan xin zhi zhi"},    {"聚精会神", "ju jing hui shen"},     {"争分夺秒", "zheng fen duo miao"},
    {"全力以赴", "quan li yi fu"},        {"再接再厉", "zai jie zai li"},       {"坚持不懈", "jian chi bu xie"},
    {"锲而不舍", "qie er bu she"},        {"水滴石穿", "shui di shi chuan"},    {"厚积薄发", "hou ji bo fa"},
    {"融会贯通", "rong hui guan tong"},   {"得心应手", "de xin ying shou"},     {"行云流水", "xing yun liu shui"},
    {"一目十行", "yi mu shi hang"},       {"眼疾手快", "yan ji shou kuai"},     {"耳聪目明", "er cong mu ming"},
    {"心灵手巧", "xin ling shou qiao"},   {"井井有条", "jing jing you tiao"},   {"有条不紊", "you tiao bu wen"},
    {"一气呵成", "yi qi he cheng"},       {"马到成功", "ma dao cheng gong"},    {"旗开得胜", "qi kai de sheng"},
    {"捷报频传", "jie bao pin chuan"},    {"蒸蒸日上", "zheng zheng ri shang"}, {"前程似锦", "qian cheng si jin"},
    {"鹏程万里", "peng cheng wan li"},
};

}  // namespace

std::span<const SampleWord> sampleCharacters() { return kCharacters; }
std::span<const SampleWord> sampleWords() { return kWords; }
std::span<const SampleWord> samplePhrases() { return kPhrases; }

}  // namespace qiru::datagen
