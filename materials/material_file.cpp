#include "materials/material_file.h"

#include <fstream>

#include "materials/utf8_path.h"
#include "support/text_encoding.h"

namespace qiru {

std::optional<std::string> readMaterialFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const std::string_view chunk(buffer, static_cast<std::size_t>(in.gcount()));
    const auto zero = chunk.find('\0');
    bytes.append(chunk.substr(0, zero));
    if (zero != std::string_view::npos) break;
  }
  if (in.bad()) return std::nullopt;
  return gbkToUtf8(bytes);
}

bool loadMaterialFile(MaterialSet& set, const std::filesystem::path& path, std::int32_t n,
                      MessageService* messages) {
  const std::optional<std::string> text = readMaterialFile(path);
  if (!text) {
    set.Clear();
    if (messages) {
      MessageRequest request;
      request.caption = std::string(kMaterialErrorCaption);
      request.text = "无法读取比赛素材文件：\r\n" + utf8Of(path) + "\r\n请检查文件是否存在、能否打开。";
      messages->show(request);
    }
    return false;
  }
  return set.Parse(*text, n);
}

}  // namespace qiru
