#include "tools/datagen/syllable_dictionary_block.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "steno/compressed_block.h"
#include "steno/syllable_dictionary.h"
#include "support/byte_io.h"
#include "support/hash_index.h"
#include "support/text_pool.h"

namespace qiru::datagen {
namespace {

// Alphabetical, with lv' after lu' and nv' after nu'; yai' and rua' were
// added last and keep their numbers 413 and 414.
constexpr std::string_view kSyllables =
    "a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu ca cai can cang "
    "cao ce cen ceng cha chai chan chang chao che chen cheng chi chong chou chu chua chuai chuan chuang "
    "chui chun chuo ci cong cou cu cuan cui cun cuo da dai dan dang dao de dei den deng di dia dian diao "
    "die ding diu dong dou du duan dui dun duo e ei en eng er fa fan fang fei fen feng fiao fo fou fu ga "
    "gai gan gang gao ge gei gen geng gong gou gu gua guai guan guang gui gun guo ha hai han hang hao he "
    "hei hen heng hong hou hu hua huai huan huang hui hun huo ji jia jian jiang jiao jie jin jing jiong "
    "jiu ju juan jue jun ka kai kan kang kao ke kei ken keng kong kou ku kua kuai kuan kuang kui kun kuo "
    "la lai lan lang lao le lei leng li lia lian liang liao lie lin ling liu lo long lou lu lv luan lue "
    "lun luo ma mai man mang mao me mei men meng mi mian miao mie min ming miu mo mou mu na nai nan nang "
    "nao ne nei nen neng ni nian niang niao nie nin ning niu nong nou nu nv nuan nue nun nuo o ou pa pai "
    "pan pang pao pei pen peng pi pian piao pie pin ping po pou pu qi qia qian qiang qiao qie qin qing "
    "qiong qiu qu quan que qun ran rang rao re ren reng ri rong rou ru ruan rui run ruo sa sai san sang "
    "sao se sen seng sha shai shan shang shao she shei shen sheng shi shou shu shua shuai shuan shuang "
    "shui shun shuo si song sou su suan sui sun suo ta tai tan tang tao te tei teng ti tian tiao tie "
    "ting tong tou tu tuan tui tun tuo wa wai wan wang wei wen weng wo wu xi xia xian xiang xiao xie xin "
    "xing xiong xiu xu xuan xue xun ya yan yang yao ye yi yin ying yo yong you yu yuan yue yun za zai "
    "zan zang zao ze zei zen zeng zha zhai zhan zhang zhao zhe zhei zhen zheng zhi zhong zhou zhu zhua "
    "zhuai zhuan zhuang zhui zhun zhuo zi zong zou zu zuan zui zun zuo yai rua";

// "0" stands for a syllable without an initial.
constexpr std::string_view kInitials[] = {"0", "b", "c", "ch", "d", "f", "g", "h", "j", "k", "l", "m",
                                          "n", "p", "q", "r", "s", "sh", "t", "w", "x", "y", "z", "zh"};
constexpr std::string_view kFinals[] = {"a",  "ai", "an",  "ang", "ao",  "ei",   "en", "eng", "i",
                                        "ian", "iao", "ie", "in",  "ing", "o",    "u",  "e",   "ong",
                                        "ou", "ua", "uai", "uan", "uang", "ui", "un", "uo",  "ia",
                                        "iu", "er", "iang", "iong", "ue", "v"};
// Carried by the block format and kept by the loader; nothing reads it.
constexpr std::int32_t kSecondCount = 1582;

template <std::size_t N>
std::int32_t numberIn(const std::string_view (&list)[N], std::string_view item) {
  const auto it = std::find(std::begin(list), std::end(list), item);
  return it == std::end(list) ? 0 : static_cast<std::int32_t>(it - std::begin(list)) + 1;
}

// Splits a syllable into its initial and final numbers: the longest initial
// that starts it (none for a, e, o, er ...), the rest as the final.
std::pair<std::int32_t, std::int32_t> partsOf(std::string_view syllable) {
  std::int32_t initial = 1;
  std::size_t initialLength = 0;
  for (std::size_t length : {2u, 1u}) {
    if (syllable.size() > length && numberIn(kInitials, syllable.substr(0, length)) > 0) {
      initial = numberIn(kInitials, syllable.substr(0, length));
      initialLength = length;
      break;
    }
  }
  const std::int32_t final = numberIn(kFinals, syllable.substr(initialLength));
  if (final == 0) throw std::logic_error("no final for syllable " + std::string(syllable));
  return {initial, final};
}

template <typename Range>
std::string poolOf(const Range& texts) {
  TextPool pool;
  for (const auto& text : texts) pool.append(text);
  return pool.serialise();
}

void appendComponent(std::string& out, const std::string& component) {
  appendInt32(out, static_cast<std::int32_t>(component.size()));
  out += component;
}

}  // namespace

std::vector<std::string> syllableList() {
  std::vector<std::string> syllables;
  std::istringstream words{std::string(kSyllables)};
  for (std::string word; words >> word;) syllables.push_back(word + "'");
  return syllables;
}

std::string generateSyllableDictionaryBlock() {
  const std::vector<std::string> syllables = syllableList();
  HashIndex numberIndex;
  HashIndex partIndex;
  numberIndex.reset(static_cast<std::int32_t>(syllables.size()));
  partIndex.reset(static_cast<std::int32_t>(syllables.size() * 2));
  for (std::size_t i = 0; i < syllables.size(); ++i) {
    const auto [initial, final] = partsOf(std::string_view(syllables[i]).substr(0, syllables[i].size() - 1));
    // Two keys sharing a CRC-32 would be one key for the index: refuse to
    // write a dictionary that answers wrongly.
    if (numberIndex.put(syllables[i], static_cast<std::int32_t>(i + 1)) != PutAdded ||
        partIndex.put(syllables[i] + "1", initial) != PutAdded ||
        partIndex.put(syllables[i] + "2", final) != PutAdded) {
      throw std::logic_error("syllable index collision at " + syllables[i]);
    }
  }

  std::string unpacked;
  appendInt32(unpacked, static_cast<std::int32_t>(syllables.size()));
  appendInt32(unpacked, kSecondCount);
  appendInt32(unpacked, static_cast<std::int32_t>(std::size(kInitials)));
  appendInt32(unpacked, static_cast<std::int32_t>(std::size(kFinals)));
  appendComponent(unpacked, numberIndex.serialise());
  appendComponent(unpacked, partIndex.serialise());
  appendComponent(unpacked, poolOf(syllables));
  appendComponent(unpacked, poolOf(kInitials));
  appendComponent(unpacked, poolOf(kFinals));

  const std::string packed = packBlock(unpacked);
  std::string block;
  appendInt32(block, blockChecksum(packed));
  return block + packed;
}

}  // namespace qiru::datagen
