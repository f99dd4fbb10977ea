#include "materials/material_file.h"

#include <algorithm>
#include <fstream>

#include "materials/utf8_path.h"
#include "support/text_encoding.h"

namespace qiru {

bool materialTooLarge(const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(path, error);
  return !error && bytes > kMaxMaterialBytes;
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char buffer[1 << 16];
  // A file that grows while it is read stops at the bound all the same.
  while (bytes.size() <= kMaxMaterialBytes && (in.read(buffer, sizeof buffer) || in.gcount() > 0)) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<std::string> readMaterialFile(const std::filesystem::path& path) {
  if (materialTooLarge(path)) return std::nullopt;
  std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes || bytes->size() > kMaxMaterialBytes) return std::nullopt;
  bytes->resize(std::min(bytes->size(), bytes->find('\0')));
  return gbkToUtf8(*bytes);
}

bool loadMaterialFile(MaterialSet& set, const std::filesystem::path& path, std::int32_t n,
                      MessageService* messages) {
  const std::optional<std::string> text = readMaterialFile(path);
  if (!text) {
    set.Clear();
    if (messages) {
      MessageRequest request;
      request.caption = std::string(kMaterialErrorCaption);
      request.text = materialTooLarge(path)
                         ? "比赛素材文件太大（超过" + std::to_string(kMaxMaterialBytes >> 20) + "MB）：\r\n" +
                               utf8Of(path) + "\r\n比赛素材是几百KB以内的文本文件，请检查是否选错了文件。"
                         : "无法读取比赛素材文件：\r\n" + utf8Of(path) + "\r\n请检查文件是否存在、能否打开。";
      messages->show(request);
    }
    return false;
  }
  return set.Parse(*text, n);
}

}  // namespace qiru
