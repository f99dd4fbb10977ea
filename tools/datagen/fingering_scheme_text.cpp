#include "tools/datagen/fingering_scheme_text.h"

#include <array>
#include <string_view>
#include <vector>

#include "steno/chord_codec.h"
#include "support/text_encoding.h"

// The scheme is written section by section. Rows that follow a pattern (digit
// chords, modifier variants, numbered slots) are generated from short tables;
// everything else is listed as "chord value" items, so that each table reads
// like the scheme text itself.

namespace qiru::datagen {
namespace {

// ---------------------------------------------------------------------------
// Text assembly

class SchemeWriter {
 public:
  void header(std::string_view name) { lines_.push_back("[" + std::string(name) + "]"); }
  void heading(std::string_view title) { lines_.push_back("//" + std::string(title)); }
  void line(std::string_view text) { lines_.emplace_back(text); }
  void row(std::string_view chord, std::string_view value) {
    lines_.push_back(std::string(chord) + '\t' + std::string(value));
  }
  void row(std::string_view chord, std::string_view characters, std::string_view pinyin) {
    row(chord, std::string(characters) + '\t' + std::string(pinyin));
  }
  // A row kept in the text for reference but switched off.
  void disabledRow(std::string_view chord, std::string_view value) { row("//" + std::string(chord), value); }

  std::string text() const {
    std::string joined;
    for (const std::string& line : lines_) {
      if (!joined.empty()) joined += "\r\n";
      joined += line;
    }
    return joined;
  }

 private:
  std::vector<std::string> lines_;
};

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \n") - first + 1);
}

// The non-empty, trimmed items of a list.
std::vector<std::string_view> itemsOf(std::string_view list, char separator) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  while (start <= list.size()) {
    auto end = list.find(separator, start);
    if (end == std::string_view::npos) end = list.size();
    const auto item = trimmed(list.substr(start, end - start));
    if (!item.empty()) items.push_back(item);
    start = end + 1;
  }
  return items;
}

// "chord value" items; the value runs to the end of the item and may hold spaces.
void writeRows(SchemeWriter& w, std::string_view list, char separator) {
  for (std::string_view item : itemsOf(list, separator)) {
    const auto space = item.find(' ');
    w.row(item.substr(0, space), item.substr(space + 1));
  }
}

// Tables of names and texts are one item per line: "chord value".
void writeLines(SchemeWriter& w, std::string_view table) { writeRows(w, table, '\n'); }

std::string twoArea(std::string_view left, std::string_view right) {
  return std::string(left) + ":" + std::string(right);
}

// The right-hand keys of a key set, in key order: the chords of plain lists
// (symbols, code points) are simply the key sets 1, 2, 3, ... in turn.
std::string keysOf(int keySet) {
  std::string keys;
  for (int i = 0; i < kKeysPerHand; ++i) {
    if (keySet & (1 << i)) keys += kKeyNames[static_cast<std::size_t>(i)];
  }
  return keys;
}

// Numbers on the right hand are struck like an abacus column: the lower beads
// H = 1, A = 2, N = 4 (3 is H with A), the upper bead B = 5 (6 is B with H, and
// so on); the tens do the same on U, O, L and D. G strikes a written 0, so
// every number from 0 to 99 has exactly one chord and 10 is U with G.
constexpr std::array<std::string_view, 10> kUnitChords = {"G", "H",  "A",  "HA",  "N",
                                                          "B", "BH", "BA", "BHA", "BN"};
constexpr std::array<std::string_view, 10> kTensChords = {"",  "U",  "O",  "UO",  "L",
                                                          "D", "DU", "DO", "DUO", "DL"};

std::string numberChord(int number) {
  return std::string(kTensChords[static_cast<std::size_t>(number / 10)]) +
         std::string(kUnitChords[static_cast<std::size_t>(number % 10)]);
}

// ---------------------------------------------------------------------------
// Sections the loader does not read

void writeBasicInfo(SchemeWriter& w) {
  w.header("基本信息");
  w.line("名称=双机PK十三键标准指法");
  w.line("键名=RHANVFLUOGBDI");
  w.line(
      "简介=十三键速录机的标准指法。左右手各十三键，键名依次为 RHANVFLUOGBDI。"
      "单手并击打出音节、特定字、形码、英文字母和声调，两手各打一个音节即成两字词；"
      "功能键也由两手并击：内部功能与播放器控制、按住不放即连发的按键，"
      "以及转发给系统的功能键、数字、字母和符号。功能键的左手部分都不是音节码，不会占去两字词的并击。");
  w.line("帮助=");
}

void writeFixedMerges(SchemeWriter& w) {
  w.header("固定合并");
  w.line("合并音节=wo o|ei e");
  w.line("合并声母=");
  w.line("合并韵母=");
}

// ---------------------------------------------------------------------------
// One-area sections

struct SyllableGroup {
  std::string_view heading;  // empty: the group continues the one before
  std::string_view pairs;    // "chord syllable; ..."
};

// A syllable's chord is its initial part followed by its final part; the
// 简易码 groups repeat the I-forms without I.
constexpr SyllableGroup kSyllableGroups[] = {
    {"第一组", R"(
    A a'; N en'; U wu'; O wo'; G wen'; AN an'; OU ou'; OG e'; AO ao'; NG eng'; ANG ang'; UOG wei';
    AOG wan'; BA ba'; BN ben'; BU bu'; BO bo'; BAN ban'; BOG bei'; BAO bao'; BNG beng'; BANG bang';
    BRA pa'; BRN pen'; BRU pu'; BRO po'; BRAN pan'; BROU pou'; BROG pei'; BRAO pao'; BRNG peng';
    BRANG pang'; BF me'; BFA ma'; BFN men'; BFU mu'; BFO mo'; BFAN man'; BFOU mou'; BFOG mei';
    BFAO mao'; BFNG meng'; BFANG mang'; FA fa'; FN fen'; FU fu'; FO fo'; FAN fan'; FOU fou';
    FOG fei'; FNG feng'; FANG fang'; D de'; DA da'; DU du'; DO duo'; DG dun'; DAN dan'; DOU dou';
    DOG dei'; DAO dao'; DNG deng'; DANG dang'; DUOG dui'; DAOG duan'; DH te'; DHA ta'; DHU tu';
    DHO tuo'; DHG tun'; DHAN tan'; DHOU tou'; DHOG tei'; DHAO tao'; DHNG teng'; DHANG tang';
    DHUOG tui'; DHAOG tuan'; DL ne'; DLA na'; DLN nen'; DLU nu'; DLO nuo'; DLG nun'; DLAN nan';
    DLOU nou'; DLOG nei'; DLAO nao'; DLNG neng'; DLANG nang'; DLAOG nuan'; L le'; LA la'; LU lu';
    LO luo'; LG lun'; LAN lan'; LOU lou'; LOG lei'; LAO lao'; LNG leng'; LANG lang'; LAOG luan';
    HL ge'; HLA ga'; HLN gen'; HLU gu'; HLO guo'; HLG gun'; HLAN gan'; HLOU gou'; HLOG gei';
    HLAO gao'; HLNG geng'; HLANG gang'; HLUOG gui'; HLAOG guan'; RF ke'; RFA ka'; RFN ken';
    RFU ku'; RFO kuo'; RFG kun'; RFAN kan'; RFOU kou'; RFOG kei'; RFAO kao'; RFNG keng';
    RFANG kang'; RFUOG kui'; RFAOG kuan'; H he'; HA ha'; HN hen'; HU hu'; HO huo'; HG hun';
    HAN han'; HOU hou'; HOG hei'; HAO hao'; HNG heng'; HANG hang'; HUOG hui'; HAOG huan'; BH zhe';
    BHA zha'; BHN zhen'; BHU zhu'; BHO zhuo'; BHG zhun'; BHAN zhan'; BHOU zhou'; BHAO zhao';
    BHNG zheng'; BHANG zhang'; BHUOG zhui'; BHAOG zhuan'; BHL che'; BHLA cha'; BHLN chen';
    BHLU chu'; BHLO chuo'; BHLG chun'; BHLAN chan'; BHLOU chou'; BHLAO chao'; BHLNG cheng';
    BHLANG chang'; BHLUOG chui'; BHLAOG chuan'; BL she'; BLA sha'; BLN shen'; BLU shu'; BLO shuo';
    BLG shun'; BLAN shan'; BLOU shou'; BLAO shao'; BLNG sheng'; BLANG shang'; BLUOG shui';
    BLAOG shuan'; R re'; RA er'; RN ren'; RU ru'; RO ruo'; RG run'; RAN ran'; ROU rou'; RAO rao';
    RNG reng'; RANG rang'; RUOG rui'; RAOG ruan'; DR ze'; DRA za'; DRN zen'; DRU zu'; DRO zuo';
    DRG zun'; DRAN zan'; DROU zou'; DROG zei'; DRAO zao'; DRNG zeng'; DRANG zang'; DRUOG zui';
    DRAOG zuan'; DRF ce'; DRFA ca'; DRFN cen'; DRFU cu'; DRFO cuo'; DRFG cun'; DRFAN can';
    DRFOU cou'; DRFAO cao'; DRFNG ceng'; DRFANG cang'; DRFUOG cui'; DRFAOG cuan'; DF se'; DFA sa';
    DFN sen'; DFU su'; DFO suo'; DFG sun'; DFAN san'; DFOU sou'; DFAO sao'; DFNG seng';
    DFANG sang'; DFUOG sui'; DFAOG suan')"},
    {"第二组", R"(
    I yi'; IA ya'; IN yin'; IU yu'; IO yong'; IG yun'; IAN yan'; IOU you'; IOG ye'; IAO yao';
    ING ying'; IANG yang'; IUOG yue'; IAOG yuan'; IB bi'; IBA bai'; IBN bin'; IBAN bian';
    IBOG bie'; IBAO biao'; IBNG bing'; IBR pi'; IBRA pai'; IBRN pin'; IBRAN pian'; IBROG pie';
    IBRAO piao'; IBRNG ping'; IBF mi'; IBFA mai'; IBFN min'; IBFAN mian'; IBFOU miu'; IBFOG mie';
    IBFAO miao'; IBFNG ming'; IFA ai'; IFN wang'; IFU wai'; IFO weng'; IFG wa'; IFOU yo';
    IFAO fiao'; ID di'; IDA dai'; IDO dong'; IDG dia'; IDAN dian'; IDOU diu'; IDOG die';
    IDAO diao'; IDNG ding'; IDH ti'; IDHA tai'; IDHO tong'; IDHAN tian'; IDHOG tie'; IDHAO tiao';
    IDHNG ting'; IDL ni'; IDLA nai'; IDLN nin'; IDLU nv'; IDLO nong'; IDLAN nian'; IDLOU niu';
    IDLOG nie'; IDLAO niao'; IDLNG ning'; IDLANG niang'; IDLUOG nue'; IL li'; ILA lai'; ILN lin';
    ILU lv'; ILO long'; ILG lia'; ILAN lian'; ILOU liu'; ILOG lie'; ILAO liao'; ILNG ling';
    ILANG liang'; ILUOG lue'; IHLA gai'; IHLN guang'; IHLU guai'; IHLO gong'; IHLG gua'; IRFA kai';
    IRFN kuang'; IRFU kuai'; IRFO kong'; IRFG kua'; IHA hai'; IHN huang'; IHU huai'; IHO hong';
    IHG hua'; IBH zhi'; IBHA zhai'; IBHN zhuang'; IBHU zhuai'; IBHO zhong'; IBHG zhua'; IBHL chi';
    IBHLA chai'; IBHLN chuang'; IBHLU chuai'; IBHLO chong'; IBHLG chua'; IBL shi'; IBLA shai';
    IBLN shuang'; IBLU shuai'; IBLG shua'; IR ri'; IRO rong'; IRG rua'; IDR zi'; IDRA zai';
    IDRO zong'; IDRF ci'; IDRFA cai'; IDRFO cong'; IDF si'; IDFA sai'; IDFO song')"},
    {"", R"(
    IBD ji'; IBDA jia'; IBDN jin'; IBDU ju'; IBDO jiong'; IBDG jun'; IBDAN jian'; IBDOU jiu';
    IBDOG jie'; IBDAO jiao'; IBDNG jing'; IBDANG jiang'; IBDUOG jue'; IBDAOG juan'; IBDH qi';
    IBDHA qia'; IBDHN qin'; IBDHU qu'; IBDHO qiong'; IBDHG qun'; IBDHAN qian'; IBDHOU qiu';
    IBDHOG qie'; IBDHAO qiao'; IBDHNG qing'; IBDHANG qiang'; IBDHUOG que'; IBDHAOG quan'; IBDL xi';
    IBDLA xia'; IBDLN xin'; IBDLU xu'; IBDLO xiong'; IBDLG xun'; IBDLAN xian'; IBDLOU xiu';
    IBDLOG xie'; IBDLAO xiao'; IBDLNG xing'; IBDLANG xiang'; IBDLUOG xue'; IBDLAOG xuan')"},
    {"j系列简易码", R"(
    BD ji'; BDA jia'; BDN jin'; BDU ju'; BDO jiong'; BDG jun'; BDAN jian'; BDOU jiu'; BDOG jie';
    BDAO jiao'; BDNG jing'; BDANG jiang'; BDUOG jue'; BDAOG juan')"},
    {"q系列简易码", R"(
    BDH qi'; BDHA qia'; BDHN qin'; BDHU qu'; BDHO qiong'; BDHG qun'; BDHAN qian'; BDHOU qiu';
    BDHOG qie'; BDHAO qiao'; BDHNG qing'; BDHANG qiang'; BDHUOG que'; BDHAOG quan')"},
    {"x系列简易码", R"(
    BDL xi'; BDLA xia'; BDLN xin'; BDLU xu'; BDLO xiong'; BDLG xun'; BDLAN xian'; BDLOU xiu';
    BDLOG xie'; BDLAO xiao'; BDLNG xing'; BDLANG xiang'; BDLUOG xue'; BDLAOG xuan')"},
    {"p系列简易码", "BRF pi'; BRFA pai'; BRFN pin'; BRFAN pian'; BRFOG pie'; BRFAO piao'; BRFNG ping'"},
    {"t系列简易码", "DHL ti'; DHLA tai'; DHLO tong'; DHLAN tian'; DHLOG tie'; DHLAO tiao'; DHLNG ting'"},
    {"z系列简易码", "DFL zi'; DFLA zai'; DFLO zong'"},
    {"zh系列简易码", "BFL zhi'; BFLA zhai'; BFLN zhuang'; BFLU zhuai'; BFLO zhong'; BFLG zhua'"},
    {"ch系列简易码", "IBANG chang'; IBOUG chui'; IBAOG chuan'"},
    {"c系列简易码", "IDANG cang'; IDOUG cui'; IDAOG cuan'; IBLO cong'"},
};

void writeSyllableCodes(SchemeWriter& w) {
  w.header("音节码");
  for (const SyllableGroup& group : kSyllableGroups) {
    if (!group.heading.empty()) w.heading(group.heading);
    writeRows(w, group.pairs, ';');
  }
}

// "chord characters pinyin": the characters (the first one is what the
// chord writes) sit between the chord and the pinyin.
constexpr std::string_view kSpecialCodes = R"(
    FL 是 shi'; RH 在 zai'; BLOG 谁 誰 shui'; BHOG 这 這 zhe'; DLAU 哪 na'; DLAUO 那 na';
    DHR 她 ta'; DHRA 它 ta'; DHRAN 他 ta'; FAOG 哪 na'; BAOG 那 na'; BIU 她 ta'; BIO 他 ta';
    BIG 它 ta'; IFLA 一 壹 yi'; IFLU 二 贰 er'; IFLN 三 叁 san'; IFLO 四 肆 si'; IFLG 九 玖 jiu';
    FLA 五 伍 wu'; FLU 六 陆 liu'; FLN 七 柒 qi'; FLO 八 捌 ba'; FLG 〇 零 ○ ling'; FLV 九 玖 jiu';
    FLAN 十 拾 shi'; FLOU 百 佰 bai'; FLAO 千 仟 qian'; FLNG 万 萬 wan'; FLANG 万 萬 wan';
    FLOG 亿 億 yi'; FLUOG 亿 億 yi'; FLAOG 亿 億 yi'; IFLAN 加 + ＋ jia'; IFLOU 减 - － jian';
    IFLAO 乘 * × cheng'; IFLNG 除 / ÷ chu'; IFLANG 除 / ÷ chu'; IFLOG 点 . ． dian';
    IFLUOG 点 . ． dian'; IFLAOG 点 . ． dian'; FLAU 百分之 % ％ bai'fen'zhi';
    FLNO 千分之 ‰ qian'fen'zhi'; FLAUO 等于 = ＝ deng'yu'; IFLAU 百分比 bai'fen'bi';
    IFLNO 千分比 qian'fen'bi'; IFLAUO 等 deng')";

void writeSpecialCodes(SchemeWriter& w) {
  w.header("特定码");
  for (std::string_view item : itemsOf(kSpecialCodes, ';')) {
    const auto firstSpace = item.find(' ');
    const auto lastSpace = item.rfind(' ');
    w.row(item.substr(0, firstSpace), item.substr(firstSpace + 1, lastSpace - firstSpace - 1),
          item.substr(lastSpace + 1));
  }
}

// Shape codes: a prefix chord plus a final; the last three finals repeat the
// characters of NG, OG and OG, so only the first five are listed per prefix.
constexpr std::array<std::string_view, 8> kShapeFinals = {"AN", "OU", "AO", "NG", "OG", "ANG", "UOG", "AOG"};
struct ShapeRow {
  std::string_view prefix;
  std::string_view characters;  // for AN, OU, AO, NG, OG
};
constexpr ShapeRow kShapeRows[] = {
    {"RH", "zxcvb"},  {"IHL", "hjkl;"}, {"IRF", "asdfg"}, {"IBL", "qwert"},
    {"IBH", "yuiop"}, {"IRH", "nm,./"}, {"IH", "ZXCVB"},  {"IR", "SDFLU"},
};

void writeShapeCodes(SchemeWriter& w) {
  w.header("内置形码");
  w.heading("可组合的形码编码");
  for (const ShapeRow& shape : kShapeRows) {
    const std::string c(shape.characters);
    const std::string byFinal = c + c[3] + c[4] + c[4];
    for (std::size_t i = 0; i < kShapeFinals.size(); ++i) {
      w.row(std::string(shape.prefix) + std::string(kShapeFinals[i]), byFinal.substr(i, 1));
    }
  }
}

// Lower-case letters: vowels are RH plus the vowel key, consonants their
// initial plus ANO; v, w and y have a second chord. The key I makes a capital.
constexpr std::string_view kEnglishLetters = R"(
    RHA a; BANO b; DRFANO c; DANO d; RHN e; FANO f; HLANO g; HANO h; RHG i; BDANO j; RFANO k;
    LANO l; BFANO m; DLANO n; RHO o; BRANO p; BDHANO q; RANO r; DFANO s; DHANO t; RHU u; RHV v;
    BHANO w; BDLANO x; BLANO y; DRANO z; BHLANO v; RHANO w; FLANO y)";

std::string capitalChord(std::string_view chord) {
  std::string capital(chord);
  const bool consonantForm = chord.size() >= 3 && chord.substr(chord.size() - 3) == "ANO";
  capital.insert(consonantForm ? capital.size() - 3 : 2, "I");
  return capital;
}

void writeEnglishCodes(SchemeWriter& w) {
  w.header("内置英文");
  w.heading("可组合的英文编码");
  const auto letters = itemsOf(kEnglishLetters, ';');
  writeRows(w, kEnglishLetters, ';');
  for (std::string_view item : letters) {
    const auto space = item.find(' ');
    const std::string capital(1, static_cast<char>(item[space + 1] - 'a' + 'A'));
    w.row(capitalChord(item.substr(0, space)), capital);
  }
}

void writeToneCodes(SchemeWriter& w) {
  w.header("声调编码");
  writeRows(w, "RNO 1; FNO 2; HNO 3; LNO 4", ';');
}

void writeAreaFunctionKeys(SchemeWriter& w) {
  w.header("左区功能键");
  writeRows(w, R"(
    FUOG 词前左; LUOG 词后左; DHN 音形; ANV 占位音节; BIU 英文 空位; IFAU 英文 空位;
    AU 英文 空位; NO 英文 尾码; ANO 英文 首码大写; AUNO 英文 全码大写)",
            ';');
  w.header("右区功能键");
  writeRows(w, R"(
    BUOG 音节直击; FI 前辅; HI 后辅; LN 追辅; DN 首字; FAO 首字; AU 词中字; BR 词尾字; NO 词三;
    NOG 词四; AUO 词五; ANO 词多; AUH 词三; AUL 词四; AUD 词五; AUB 词多; FUOG 词前右; LUOG 词后右;
    DHN 形音)",
            ';');
}

// ---------------------------------------------------------------------------
// [内部功能键]
//
// Every group has a left-hand part of its own that is neither a syllable nor
// any other one-hand code, so a two-syllable word struck as one chord (first
// syllable left, second right) never lands on a function.

// Struck with the same chord on both hands; every one of these chords holds
// V, which no syllable uses.
constexpr std::string_view kSystemFunctions = R"(
RAV:RAV 显示主窗口
RNV:RNV 隐藏主窗口
RVF:RVF 最大化
RVL:RVL 还原窗口
RVU:RVU 窗口置顶
RVO:RVO 取消置顶
RVG:RVG 退出程序
RVB:RVB 打开设置
RVD:RVD 打开帮助
RVI:RVI 关于
HAV:HAV 重载方案
HNV:HNV 重载词库
HVF:HVF 保存词库
HVL:HVL 备份词库
HVU:HVU 打开词库管理
HVO:HVO 全角半角切换
HVG:HVG 中英标点切换
HVB:HVB 简繁切换
HVD:HVD 大小写切换
HVI:HVI 中英文切换
AVF:AVF 候选框显示
AVL:AVL 候选框隐藏
AVU:AVU 候选横排
AVO:AVO 候选竖排
AVG:AVG 状态栏显示
AVB:AVB 状态栏隐藏
AVD:AVD 字号放大
AVI:AVI 字号缩小
NVF:NVF 重复上屏
NVL:NVL 撤销上屏
NVU:NVU 清空编码
NVO:NVO 编码上屏
NVG:NVG 打开日志
NVB:NVB 速度统计
NVD:NVD 统计清零
NVI:NVI 显示键位图
VFU:VFU 隐藏键位图
VFO:VFO 按键音开关
VFG:VFG 托盘图标开关
VFB:VFB 切换皮肤
VFD:VFD 解锁
)";

constexpr std::string_view kCandidatePaging = R"(
HV:A 候选框翻页 上一页
HV:U 候选框翻页 下一页
)";

constexpr std::string_view kWordTrimming = R"(
HF:A 消词定字 保留首字
HF:U 消词定字 保留末字
)";

constexpr std::string_view kSelfMadeWords = R"(
AV:IRFA 自造词 开始
AV:IBDOG 自造词 结束
AV:IBDHU 自造词 取消
AV:BLAN 自造词 删除
AV:BHLA 自造词 查看
AV:BHLU 自造词 导出
AV:RU 自造词 导入
)";

constexpr std::string_view kPinnedWords = R"(
AG:IBDA 固顶词库 添加
AG:BLAN 固顶词库 删除
AG:BHLA 固顶词库 查看
)";

constexpr std::string_view kBlockedWords = R"(
NV:IBDA 屏蔽词 添加
NV:BLAN 屏蔽词 删除
NV:BHLA 屏蔽词 查看
)";

// The 略 rows leave syllables of a long word out; B:B is the one chord of
// this group on the left part B, which the 数字文本 group also uses.
constexpr std::string_view kSmartFunctions = R"(
NU:A 略二
NU:HA 略三
NU:N 略四
NU:AO 略二三
NU:AL 略二四
B:B 略三四
NU:AOL 略二三四
NU:DN 略首
NU:UOG 略尾
NU:DRU 智能组词 开
NU:DRUV 智能组词 关
NU:ILAN 智能联想 开
NU:ILANV 智能联想 关
NU:IDHAO 自动调频 开
NU:IDHAOV 自动调频 关
NU:IBDOU 智能纠错 开
NU:IBDOUV 智能纠错 关
NU:IBAO 智能标点 开
NU:IBAOV 智能标点 关
NU:IBHLO 智能化 重置
)";

constexpr std::string_view kAuxiliaryCodes = R"(
VF:IBDLNG 辅助码 形码
VF:IB 辅助码 笔画
VF:HLAOG 辅助码 关闭
)";

constexpr std::string_view kDateTime = R"(
VL:H 插入日期
VL:A 插入时间
VL:HA 插入日期时间
VL:N 插入星期
VL:B 插入农历日期
)";

// Whole-clipboard rows strike no digit, so they never meet a numbered slot.
constexpr std::string_view kClipboardCommands = R"(
VU:L 剪贴板列表
VU:D 剪贴板历史
VU:U 剪贴板上一条
VU:O 剪贴板下一条
VU:RF 剪贴板清空
VU:FI 剪贴板全部保存
VU:RFI 剪贴板全部载入
VU:V 剪贴板设置
)";

constexpr std::string_view kStrokes = R"(
VO:HNG 五笔画 横
VO:BLU 五笔画 竖
VO:IBROG 五笔画 撇
VO:IDAN 五笔画 点
VO:BH 五笔画 折
VO:IDHO 五笔画 通配
VO:IRFA 五笔画 开始
VO:IBDOG 五笔画 结束
VO:HA 五笔画 退格
VO:IBDHNG 五笔画 清空
VO:BLANG 五笔画 上屏
VO:IBDHU 五笔画 取消
)";

constexpr std::string_view kMouse = R"(
VB:L 鼠标 左键单击
VB:LG 鼠标 左键双击
VB:O 鼠标 右键单击
VB:IBHO 鼠标 中键单击
VB:DHO 鼠标 拖动
)";

constexpr std::string_view kSearch = R"(
VD:IBA 搜索 百度
VD:IB 搜索 必应
VD:IDRF 搜索 词典
VD:HAN 搜索 汉典
VD:RF 搜索 百科
VD:ID 搜索 地图
VD:IBDLN 搜索 新闻
VD:DHU 搜索 图片
VD:FAN 搜索 翻译
VD:BHLNG 搜索 成语
VD:IBRN 搜索 拼音
VD:BLG 搜索 笔顺
VD:DFOU 搜索 打开搜索助手
)";

constexpr std::string_view kTranslationOutputModes = R"(
RV:H 译文输出 替换原文
RV:A 译文输出 原文后附译文
RV:HA 译文输出 仅显示译文
)";

constexpr std::string_view kTranslations = R"(
RL:H 翻译输出 中译英
RL:A 翻译输出 英译中
RL:HA 翻译输出 中译日
RL:N 翻译输出 日译中
RL:B 翻译输出 重新翻译
RL:BH 翻译输出 撤销译文
)";

constexpr std::string_view kScreenReader = R"(
NL:BHAN 读屏 朗读当前行
NL:BLANG 读屏 朗读上一行
NL:BDLA 读屏 朗读下一行
NL:IDHA 读屏 朗读题目
NL:DFAN 读屏 朗读全文
NL:IDHNG 读屏 停止朗读
NL:RFAO 读屏 语速加快
NL:BFAN 读屏 语速减慢
)";

// "full-width half-width": 顶屏符号 writes the full-width one and commits.
constexpr std::string_view kTopScreenSymbols = R"(
， ,
。 .
、 \
； ;
： :
？ ?
！ !
“ "
” "
‘ '
’ '
（ (
） )
《 <
》 >
【 [
】 ]
—— _
…… ^
· `
￥ $
～ ~
「 {
」 }
)";

constexpr std::string_view kCommonPunctuation =
    "， 。 、 ； ： ？ ！ “ ” ‘ ’ （ ） 《 》 【 】 —— …… · ～ ％ ＠";

struct NamedCodePoint {
  std::string_view hex;
  std::string_view name;
};
// Written with the code point and, after "//", the mark's name: the name is
// part of the value, for whoever reads the function name.
constexpr NamedCodePoint kCodePoints[] = {
    {"00b7", "间隔号"},     {"2014", "破折号"},     {"2026", "省略号"},     {"3001", "顿号"},
    {"3002", "句号"},       {"300a", "左双书名号"}, {"300b", "右双书名号"}, {"3008", "左单书名号"},
    {"3009", "右单书名号"}, {"300c", "左直角引号"}, {"300d", "右直角引号"},
};

constexpr std::string_view kPairedSymbols = "《》 〈〉 「」 『』 〔〕 【】 （） ［］ ｛｝ “” ‘’ 〖〗";

constexpr std::string_view kGeneralSymbols =
    "±×÷∶∧∨∑∏∪∩∈∷√⊥∥∠⌒⊙∫∮≡≌≈∽∝≠≮≯≤≥∞∵∴♂♀°′″℃＄¤￠￡‰§№☆★○●◎◇◆□■△▲※→←↑↓〓ˉˇ¨〃々"
    "αβγδεζηθικλμνξοπρστυφχψωΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ─│┌┐└┘├┤┬┴┼㎎㎏㎜㎝㎞㎡℡㈱〇＃＆＊｜＾＿";

// The characters of a UTF-8 text, one string each.
std::vector<std::string> charactersOf(std::string_view text) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    characters.emplace_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

// Plain lists take the right-hand key sets 1, 2, 3, ... in turn.
void writeListOn(SchemeWriter& w, std::string_view left, std::string_view function,
                 const std::vector<std::string>& arguments) {
  int keySet = 0;
  for (const std::string& argument : arguments) {
    w.row(twoArea(left, keysOf(++keySet)), std::string(function) + " " + argument);
  }
}

std::vector<std::string> ownedItemsOf(std::string_view list, char separator) {
  std::vector<std::string> items;
  for (std::string_view item : itemsOf(list, separator)) items.emplace_back(item);
  return items;
}

// Slots, counts and serial numbers: the number's chord, after the keys that
// pick the operation or style.
void writeNumberedRows(SchemeWriter& w, std::string_view left, std::string_view marker,
                       std::string_view function, int first, int last) {
  for (int n = first; n <= last; ++n) {
    w.row(twoArea(left, std::string(marker) + numberChord(n)),
          std::string(function) + " " + std::to_string(n));
  }
}

struct MarkedOperation {
  std::string_view marker;  // right-hand keys struck with the slot number
  std::string_view function;
};
constexpr MarkedOperation kClipboardOperations[] = {
    {"", "剪贴板复制"},   {"I", "剪贴板粘贴"},  {"R", "剪贴板剪切"},
    {"F", "剪贴板追加"},  {"V", "剪贴板替换"},  {"RF", "剪贴板清除"},
    {"RI", "剪贴板查看"}, {"FI", "剪贴板保存"}, {"RFI", "剪贴板载入"},
};
constexpr int kClipboardSlots = 20;

void writeClipboard(SchemeWriter& w) {
  w.heading("超级剪贴板");
  writeLines(w, kClipboardCommands);
  for (const MarkedOperation& operation : kClipboardOperations) {
    writeNumberedRows(w, "VU", operation.marker, operation.function, 1, kClipboardSlots);
  }
}

// 数字文本: 0 to 99; with V the two-digit forms 00 to 09; with I the decimals
// t.u whose digits are both 1 to 9 (I never strikes alone or without tens, so
// the I-chords of [转发功能键] on the same left part stay free); and the
// runs of zeros behind a leading digit.
struct ZeroRun {
  std::string_view chord;
  std::string_view zeros;
};
constexpr ZeroRun kZeroRuns[] = {{"RG", "000"}, {"FG", "0000"}, {"RFG", "00000"}, {"RFVG", "000000"}};

using DigitForm = std::string (*)(std::string_view digits);

std::string halfWidth(std::string_view digits) { return std::string(digits); }

std::string fullWidth(std::string_view digits) {
  std::string wide;
  for (char c : digits) {
    // U+FF10..U+FF19 and U+FF0E, all in the block EF BC xx.
    wide += "\xEF\xBC";
    wide += static_cast<char>(c == '.' ? 0x8E : 0x90 + (c - '0'));
  }
  return wide;
}

void writeDigitTexts(SchemeWriter& w, std::string_view left, DigitForm form) {
  w.heading("数字文本");
  const auto digitRow = [&](const std::string& right, const std::string& digits) {
    w.row(twoArea(left, right), "数字 " + form(digits));
  };
  for (int n = 0; n <= 99; ++n) digitRow(numberChord(n), std::to_string(n));
  for (int u = 0; u <= 9; ++u) digitRow("V" + numberChord(u), "0" + std::to_string(u));
  for (int t = 1; t <= 9; ++t) {
    for (int u = 1; u <= 9; ++u) {
      digitRow("I" + std::string(kTensChords[static_cast<std::size_t>(t)]) + numberChord(u),
               std::to_string(t) + "." + std::to_string(u));
    }
  }
  for (const ZeroRun& run : kZeroRuns) digitRow(std::string(run.chord), std::string(run.zeros));
}

// 序号直击: the style is picked by R, F, V and I; the number is struck as
// usual.
struct SerialStyle {
  std::string_view marker;
  int count;
  std::string_view glyphs;  // one character per number, or empty
  std::string_view before;  // around the Chinese numeral when glyphs is empty
  std::string_view after;
};
constexpr SerialStyle kSerialStyles[] = {
    {"", 10, "①②③④⑤⑥⑦⑧⑨⑩", "", ""},
    {"R", 20, "⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽⑾⑿⒀⒁⒂⒃⒄⒅⒆⒇", "", ""},
    {"F", 20, "⒈⒉⒊⒋⒌⒍⒎⒏⒐⒑⒒⒓⒔⒕⒖⒗⒘⒙⒚⒛", "", ""},
    {"V", 10, "㈠㈡㈢㈣㈤㈥㈦㈧㈨㈩", "", ""},
    {"I", 12, "ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩⅪⅫ", "", ""},
    {"RI", 10, "ⅰⅱⅲⅳⅴⅵⅶⅷⅸⅹ", "", ""},
    {"RF", 20, "", "", "、"},
    {"RV", 20, "", "（", "）"},
    {"FV", 20, "", "第", ""},
};

std::string chineseNumeral(int n) {
  static const std::vector<std::string> digits = charactersOf("一二三四五六七八九");
  const std::string ten = "十";
  if (n < 10) return digits[static_cast<std::size_t>(n - 1)];
  return (n >= 20 ? digits[static_cast<std::size_t>(n / 10 - 1)] : "") + ten +
         (n % 10 ? digits[static_cast<std::size_t>(n % 10 - 1)] : "");
}

void writeSerialNumbers(SchemeWriter& w) {
  w.heading("序号直击");
  for (const SerialStyle& style : kSerialStyles) {
    const auto glyphs = charactersOf(style.glyphs);
    for (int n = 1; n <= style.count; ++n) {
      const std::string serial =
          glyphs.empty() ? std::string(style.before) + chineseNumeral(n) + std::string(style.after)
                         : glyphs[static_cast<std::size_t>(n - 1)];
      w.row(twoArea("RB", std::string(style.marker) + numberChord(n)), "序号 " + serial);
    }
  }
  // The marker keys alone, without a number.
  w.row("RB:RFV", "序号 接续");
}

void writeTranslationOutput(SchemeWriter& w) {
  w.heading("翻译输出");
  writeLines(w, kTranslations);
  std::vector<std::string> codePoints;
  for (const NamedCodePoint& codePoint : kCodePoints) {
    codePoints.push_back(std::string(codePoint.hex) + " //" + std::string(codePoint.name));
  }
  writeListOn(w, "RHF", "Unicode", codePoints);
  w.line("　");  // a stray full-width space: a line with one field, which the loader passes over
  writeListOn(w, "RHL", "成对符号", ownedItemsOf(kPairedSymbols, ' '));
  writeListOn(w, "RHB", "一般符号", charactersOf(kGeneralSymbols));
}

void writeTable(SchemeWriter& w, std::string_view heading, std::string_view rows) {
  w.heading(heading);
  writeLines(w, rows);
}

void writeInternalFunctionKeys(SchemeWriter& w) {
  w.header("内部功能键");
  writeLines(w, "IFL:IFL 锁定\nIRH:IRH 最小化");
  writeTable(w, "系统内部功能，不组合", kSystemFunctions);
  writeTable(w, "候选框翻页", kCandidatePaging);
  writeTable(w, "消词定字（连词消字）", kWordTrimming);
  writeTable(w, "自造词", kSelfMadeWords);
  writeNumberedRows(w, "AV", "", "自造词", 2, 9);
  writeTable(w, "固顶词库", kPinnedWords);
  writeTable(w, "屏蔽词", kBlockedWords);
  writeNumberedRows(w, "NV", "", "屏蔽词", 1, 7);
  writeTable(w, "智能化", kSmartFunctions);
  writeTable(w, "辅助码", kAuxiliaryCodes);
  writeTable(w, "日期时间", kDateTime);
  writeClipboard(w);
  writeTable(w, "五笔画", kStrokes);
  writeTable(w, "查询单字唯一化打法", "VG:BHLA 查询单字唯一化打法");
  writeTable(w, "鼠标操作", kMouse);
  writeTable(w, "内置搜索", kSearch);
  w.heading("符号组");
  writeListOn(w, "VI", "顶屏符号", ownedItemsOf(kTopScreenSymbols, '\n'));
  w.heading("常用标点");
  writeListOn(w, "UG", "标点", ownedItemsOf(kCommonPunctuation, ' '));
  writeTable(w, "云翻译译文输出模式，设置后自动开启云翻译功能", kTranslationOutputModes);
  writeTranslationOutput(w);
  writeDigitTexts(w, "B", halfWidth);
  writeDigitTexts(w, "BDR", fullWidth);
  writeSerialNumbers(w);
  writeTable(w, "读屏功能", kScreenReader);
}

// ---------------------------------------------------------------------------
// [播放器控制]: FAO and OAF are the same left-hand chord; FAO is written for
// the transport, OAF for subtitles and inserted marks. Named rows strike the
// pinyin of their key word (单 DAN for 单行字幕).

constexpr std::string_view kPlayerTransport = R"(
FAO:I 播放器 播放/暂停
FAO:IDHNG 播放器 停止
FAO:DHOU 播放器 跳到开头
FAO:UOG 播放器 跳到结尾
FAO:BLANG 播放器 上一个文件
FAO:BDLA 播放器 下一个文件
FAO:IRFA 播放器 打开文件
FAO:IBDH 播放器 循环起点
FAO:IBHO 播放器 循环终点
FAO:IBDHU 播放器 取消循环
FAO:DRNG 播放器 音量增大
FAO:IBDAN 播放器 音量减小
FAO:IBDNG 播放器 静音
FAO:R 播放器 快退
FAO:F 播放器 快进
FAO:V 播放器 正常速度
FAO:G 播放器 跳转
)";

constexpr std::string_view kPlayerSubtitles = R"(
OAF:DAN 播放器 单行字幕
OAF:IBLN 播放器 双行字幕
OAF:IN 播放器 隐藏字幕
OAF:DA 播放器 字幕放大
OAF:BDLAO 播放器 字幕缩小
OAF:IBL 播放器 插入时间 %%time%%
OAF:IBDLAN 播放器 显示窗口
OAF:DRFANG 播放器 隐藏窗口
OAF:IBDOG 播放器 截图
)";

// Steps: the step key (R back, F forward, V speed, G position, L marks) with
// the step's place in its list, struck as a digit.
struct PlayerSteps {
  std::string_view left;
  std::string_view stepKey;
  std::string_view function;
  std::string_view before;  // around each argument
  std::string_view after;
  std::string_view arguments;  // separated by spaces
};
constexpr PlayerSteps kTransportSteps[] = {
    {"FAO", "R", "快退", "", "", "1 2 3 5 10 15 20 30 60"},
    {"FAO", "F", "快进", "", "", "1 2 3 5 10 15 20 30 60"},
    {"FAO", "V", "倍速", "", "", "0.5 0.6 0.7 0.8 0.9 1.2 1.5 1.8 2.0"},
    {"FAO", "G", "跳到", "", "%", "10 20 30 40 50 60 70 80 90"},
};
constexpr PlayerSteps kMarkSteps = {"OAF", "L",           "插入标示",
                                    "【",  " %%time%%】", "听不清 口误 笑声 掌声 重叠 外语 噪音 停顿"};

void writeSteps(SchemeWriter& w, const PlayerSteps& steps) {
  int place = 0;
  for (std::string_view argument : itemsOf(steps.arguments, ' ')) {
    w.row(twoArea(steps.left, std::string(steps.stepKey) + numberChord(++place)),
          "播放器 " + std::string(steps.function) + " " + std::string(steps.before) + std::string(argument) +
              std::string(steps.after));
  }
}

void writePlayerControls(SchemeWriter& w) {
  w.header("播放器控制");
  writeTable(w, "播放控制", kPlayerTransport);
  for (const PlayerSteps& steps : kTransportSteps) writeSteps(w, steps);
  writeTable(w, "字幕与标示", kPlayerSubtitles);
  writeSteps(w, kMarkSteps);
}

// ---------------------------------------------------------------------------
// [连发功能键]

void writeRepeatKeys(SchemeWriter& w) {
  w.header("连发功能键");
  w.heading("连发按键");
  writeRows(w, ":UO SP; :HA BS; :LU DE; F:I EN; F:UO SP; F:HA BS; F:LU DE; F:A UA; F:U DA; F:L LA; F:O RA",
            ';');
  // Switched off: on their pinyin chords these keys are forwarded once per
  // stroke (直接功能键2 of [转发功能键]), not repeated.
  w.heading("拼音连发（停用）");
  for (std::string_view item : itemsOf("F:IRFO SP; F:DHUOG BS; F:HUOG EN; F:BLAN DE; F:BLANG UA; F:BDLA DA; "
                                       "F:IBDLA DA; F:DRO LA; F:IOU RA",
                                       ';')) {
    const auto space = item.find(' ');
    w.disabledRow(item.substr(0, space), item.substr(space + 1));
  }
  w.heading("shift+光标键");
  writeRows(w, R"(
    AUI:A (SSUA); AUI:U (SSDA); AUI:L (SSLA); AUI:O (SSRA); AUI:BLANG (SSUA); AUI:IBDLA (SSDA);
    AUI:BDLA (SSDA); AUI:DRO (SSLA); AUI:IOU (SSRA))",
            ';');
  w.heading("鼠标操作");
  writeRows(w, "F:R MU; F:F MD; RFOG:R MU; RFOG:F MD; RFOG:A MUM; RFOG:U MDM; RFOG:L MLM; RFOG:O MRM", ';');
  w.heading("搜索助手");
  writeRows(w, R"(
    DN:A NHU; DN:U NHD; DN:L NHL; DN:O NHR; DN:BLANG NWU; DN:BDLA NWD; DN:IBDLA NWD; DN:DRO NWL;
    DN:IOU NWR)",
            ';');
}

// ---------------------------------------------------------------------------
// [转发功能键]

struct KeyChord {
  std::string_view chord;  // right-hand keys
  std::string_view token;
};

struct Modifier {
  std::string_view name;    // in group headings
  std::string_view prefix;  // in front of a modified key: (SSEN)
  std::string_view alone;   // the modifier struck without a key
};
constexpr std::array<Modifier, 8> kModifiers = {{
    {"shift", "SS", "SS"},
    {"ctrl", "CC", "CC"},
    {"alt", "AA", "AA"},
    {"ctrl+shift", "CCSS", "(CCSS)"},
    {"alt+shift", "AASS", "(AASS)"},
    {"ctrl+alt", "CCAA", "(CCAA)"},
    {"ctrl+alt+shift", "CCAASS", "(CCAASS)"},
    {"win", "LW", "LW"},
}};
constexpr std::size_t kShift = 0;

// The left hand holds the modifier: I Shift, D Ctrl, B Alt, L Win, on a base
// that says which keys the right hand strikes.
using ModifierLefts = std::array<std::string_view, 8>;
constexpr ModifierLefts kFunctionKeyModifiers = {"AUI", "AUD", "AUB", "AUID", "AUIB", "AUBD", "AUIBD", "AUL"};
constexpr ModifierLefts kDigitAndFKeyModifiers = {"AUOI",  "AUOD",  "AUOB",   "AUOID",
                                                  "AUOIB", "AUOBD", "AUOIBD", "AUOL"};
constexpr ModifierLefts kLetterAndSymbolModifiers = {"NOI",  "NOD",  "NOB",   "NOID",
                                                     "NOIB", "NOBD", "NOIBD", "NOIL"};

// Plain function keys take the left part AUG, like BG for letters and FG for F keys.
constexpr std::string_view kPlainFunctionKeyLeft = "AUG";

// By the shape of the keys: Enter, space, backspace and delete as in
// [连发功能键]; the arrows with G, page and line ends with D.
constexpr KeyChord kShapeFunctionKeys[] = {
    {"I", "EN"},  {"UO", "SP"}, {"HA", "BS"}, {"LU", "DE"}, {"AG", "UA"}, {"UG", "DA"},
    {"LG", "LA"}, {"OG", "RA"}, {"AD", "PU"}, {"UD", "PD"}, {"LD", "HM"}, {"OD", "ED"},
    {"R", "TT"},  {"RH", "ES"}, {"N", "IN"},  {"V", "PS"},  {"F", "RM"},
};
constexpr std::size_t kPlainShapeFunctionKeys = 14;  // all but IN, PS and RM
// The bare arrow chords of [连发功能键]; with Shift they belong to it.
constexpr KeyChord kShapeArrows[] = {{"A", "UA"}, {"U", "DA"}, {"L", "LA"}, {"O", "RA"}};

// By the pinyin of the key's Chinese name: 回车, 空格, 退格, 删除, 前页, 后页,
// 首, 尾, 制表, 退出, 插入, 暂停 (停), 菜单; the arrows by the compass (北 南 西 东).
constexpr KeyChord kPinyinFunctionKeys[] = {
    {"HUOG", "EN"},  {"IRFO", "SP"}, {"DHUOG", "BS"}, {"BLAN", "DE"}, {"IBDHAN", "PU"}, {"HOU", "PD"},
    {"BLOU", "HM"},  {"UOG", "ED"},  {"IBH", "TT"},   {"BHLU", "ES"}, {"BHLA", "IN"},   {"IDHNG", "PS"},
    {"IDRFA", "RM"}, {"BOG", "UA"},  {"DLAN", "DA"},  {"BDL", "LA"},  {"IDO", "RA"},
};
constexpr std::size_t kPlainPinyinFunctionKeys = 13;  // the compass arrows move only with a modifier
// 上 下 左 右, as the shift+光标键 rows of [连发功能键] strike them.
constexpr KeyChord kPinyinArrows[] = {
    {"BLANG", "UA"}, {"BDLA", "DA"}, {"IBDLA", "DA"}, {"DRO", "LA"}, {"IOU", "RA"}};

// Letters: the chords of [内置英文] without RH (vowels) or ANO (consonants).
constexpr KeyChord kLetterKeys[] = {
    {"A", "Ca"},  {"B", "Cb"},  {"DRF", "Cc"}, {"D", "Cd"},  {"N", "Ce"},   {"F", "Cf"},
    {"HL", "Cg"}, {"H", "Ch"},  {"G", "Ci"},   {"BD", "Cj"}, {"RF", "Ck"},  {"L", "Cl"},
    {"BF", "Cm"}, {"DL", "Cn"}, {"O", "Co"},   {"BR", "Cp"}, {"BDH", "Cq"}, {"R", "Cr"},
    {"DF", "Cs"}, {"DH", "Ct"}, {"U", "Cu"},   {"V", "Cv"},  {"BH", "Cw"},  {"BDL", "Cx"},
    {"BL", "Cy"}, {"DR", "Cz"}, {"BHL", "Cv"}, {"RH", "Cw"}, {"FL", "Cy"},
};

// Symbols by the pinyin of their names: 逗 句 点 分 引 波 减 等 斜 反 左 右.
constexpr KeyChord kSymbolKeys[] = {
    {"DOU", "C,"},    {"BDU", "C."},   {"IDAN", "C."}, {"FN", "C;"},  {"IN", "C'"},
    {"BO", "C`"},     {"IBDAN", "C-"}, {"BDAN", "C-"}, {"DNG", "C="}, {"BDLOG", "C/"},
    {"IBDLOG", "C/"}, {"FAN", "C\\"},  {"DRO", "C["},  {"IOU", "C]"},
};
// With Shift, < > ? (《 》 ？ in Chinese text) get a second chord each: 小 大
// (问)号. NOI is also the INO of the first group, whose I, UO and HA are taken.
constexpr KeyChord kShiftedSymbolExtras[] = {{"BDLAO", "C,"}, {"DA", "C."}, {"HAO", "C/"}};

constexpr std::string_view kDigitKeys = "RHANVFLUOG";       // 1 to 9, then 0
constexpr std::string_view kFunctionKeys = "RHANVFLUOGBD";  // F1 to F12

std::string modified(const Modifier& modifier, std::string_view token) {
  return "(" + std::string(modifier.prefix) + std::string(token) + ")";
}

void writeKeys(SchemeWriter& w, std::string_view left, const KeyChord* first, const KeyChord* last,
               const Modifier* modifier) {
  for (const KeyChord* key = first; key != last; ++key) {
    w.row(twoArea(left, key->chord), modifier ? modified(*modifier, key->token) : std::string(key->token));
  }
}

template <std::size_t N>
void writeKeys(SchemeWriter& w, std::string_view left, const KeyChord (&keys)[N], const Modifier* modifier) {
  writeKeys(w, left, keys, keys + N, modifier);
}

// A plain group and its eight modifier variants; `variant` writes the rows
// of one modifier (its left part, the modifier and its index).
template <typename PlainRows, typename VariantRows>
void writeKeyFamily(SchemeWriter& w, std::string_view name, const ModifierLefts& lefts, PlainRows plain,
                    VariantRows variant) {
  w.heading(name);
  plain();
  for (std::size_t m = 0; m < kModifiers.size(); ++m) {
    w.heading(std::string(kModifiers[m].name) + "+" + std::string(name));
    variant(lefts[m], kModifiers[m], m);
  }
}

void writeModifierAlone(SchemeWriter& w, std::string_view left, const Modifier& modifier) {
  w.row(std::string(left) + ":", modifier.alone);
}

void writeFunctionKeyFamilies(SchemeWriter& w) {
  writeKeyFamily(
      w, "直接功能键1", kFunctionKeyModifiers,
      [&] {
        writeKeys(w, kPlainFunctionKeyLeft, kShapeFunctionKeys, kShapeFunctionKeys + kPlainShapeFunctionKeys,
                  nullptr);
      },
      [&](std::string_view left, const Modifier& modifier, std::size_t m) {
        writeKeys(w, left, kShapeFunctionKeys, &modifier);
        if (m != kShift) writeKeys(w, left, kShapeArrows, &modifier);
      });
  writeKeyFamily(
      w, "直接功能键2", kFunctionKeyModifiers,
      [&] {
        writeKeys(w, kPlainFunctionKeyLeft, kPinyinFunctionKeys,
                  kPinyinFunctionKeys + kPlainPinyinFunctionKeys, nullptr);
      },
      [&](std::string_view left, const Modifier& modifier, std::size_t m) {
        writeKeys(w, left, kPinyinFunctionKeys, &modifier);
        if (m != kShift) writeKeys(w, left, kPinyinArrows, &modifier);
      });
}

void writeDigitAndFKeyFamilies(SchemeWriter& w) {
  const auto digitToken = [](std::size_t i) { return "C" + std::to_string((i + 1) % 10); };
  const auto fKeyToken = [](std::size_t i) { return "F" + std::string(1, static_cast<char>('A' + i)); };
  writeKeyFamily(
      w, "数字键", kDigitAndFKeyModifiers,
      [&] {
        for (std::size_t i = 0; i < kDigitKeys.size(); ++i) {
          w.row(twoArea("", kDigitKeys.substr(i, 1)), digitToken(i));
        }
      },
      [&](std::string_view left, const Modifier& modifier, std::size_t) {
        writeModifierAlone(w, left, modifier);
        for (std::size_t i = 0; i < kDigitKeys.size(); ++i) {
          w.row(twoArea(left, kDigitKeys.substr(i, 1)), modified(modifier, digitToken(i)));
        }
      });
  // With a modifier the same left hand also strikes digits, so an F key adds I.
  writeKeyFamily(
      w, "F功能键", kDigitAndFKeyModifiers,
      [&] {
        for (std::size_t i = 0; i < kFunctionKeys.size(); ++i) {
          w.row(twoArea("FG", kFunctionKeys.substr(i, 1)), fKeyToken(i));
        }
      },
      [&](std::string_view left, const Modifier& modifier, std::size_t) {
        for (std::size_t i = 0; i < kFunctionKeys.size(); ++i) {
          w.row(twoArea(left, std::string(kFunctionKeys.substr(i, 1)) + "I"),
                modified(modifier, fKeyToken(i)));
        }
      });
}

void writeLetterAndSymbolFamilies(SchemeWriter& w) {
  writeKeyFamily(
      w, "字母键", kLetterAndSymbolModifiers, [&] { writeKeys(w, "BG", kLetterKeys, nullptr); },
      [&](std::string_view left, const Modifier& modifier, std::size_t) {
        writeModifierAlone(w, left, modifier);
        writeKeys(w, left, kLetterKeys, &modifier);
      });
  writeKeyFamily(
      w, "键盘符号", kLetterAndSymbolModifiers, [&] { writeKeys(w, "BG", kSymbolKeys, nullptr); },
      [&](std::string_view left, const Modifier& modifier, std::size_t m) {
        writeKeys(w, left, kSymbolKeys, &modifier);
        if (m == kShift) writeKeys(w, left, kShiftedSymbolExtras, &modifier);
      });
}

void writeForwardKeys(SchemeWriter& w) {
  w.header("转发功能键");
  w.heading("映射按键发射到系统的功能");
  writeRows(w, R"(
    :I EN; BDR:I EN; BDF:I EN; NOG:I EN; B:I EN; BDR:IUO SP; BDF:IUO SP; NOG:IUO SP; B:IUO SP;
    BDR:IHA BS; BDF:IHA BS; NOG:IHA BS; B:IHA BS; BG:I EN; BG:UO SP; BG:HA BS; IF:I EN; IF:UO SP;
    IF:HA BS; IH:I EN; IH:UO SP; IH:HA BS; INO:I EN; INO:UO SP; INO:HA BS; IFL:I EN; IFL:UO SP;
    IFL:HA BS; IHR:I EN; IHR:UO SP; IHR:HA BS)",
            ';');
  writeFunctionKeyFamilies(w);
  writeDigitAndFKeyFamilies(w);
  writeLetterAndSymbolFamilies(w);
}

}  // namespace

std::string generateFingeringSchemeUtf8() {
  SchemeWriter w;
  writeBasicInfo(w);
  writeFixedMerges(w);
  writeSyllableCodes(w);
  writeSpecialCodes(w);
  writeShapeCodes(w);
  writeEnglishCodes(w);
  writeToneCodes(w);
  writeAreaFunctionKeys(w);
  writeInternalFunctionKeys(w);
  writePlayerControls(w);
  writeRepeatKeys(w);
  writeForwardKeys(w);
  return w.text();
}

std::string generateFingeringSchemeText() { return utf8ToGbk(generateFingeringSchemeUtf8()); }

}  // namespace qiru::datagen
