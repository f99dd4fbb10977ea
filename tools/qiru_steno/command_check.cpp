// qiru-steno check FILE...: whether each material file can start a match,
// and every message a match start would show for it.

#include <ostream>

#include "materials/material_file.h"
#include "materials/utf8_path.h"
#include "tools/qiru_steno/command.h"
#include "tools/qiru_steno/stream_messages.h"

namespace qiru::cli {
namespace {

// Prints the file's name before the first message about it.
class FileMessages : public MessageService {
 public:
  FileMessages(std::ostream& out, std::string file) : out_(out), stream_(out), file_(std::move(file)) {}
  int show(const MessageRequest& request) override {
    if (!named_) out_ << file_ << ":\n";
    named_ = true;
    return stream_.show(request);
  }

 private:
  std::ostream& out_;
  StreamMessages stream_;
  std::string file_;
  bool named_ = false;
};

// Whether the bytes hold non-ASCII characters and all of them are well-formed
// UTF-8, which GBK text almost never is.
bool looksLikeUtf8(std::string_view bytes) {
  bool multiByte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    multiByte = multiByte || length > 1;
    i += length;
  }
  return multiByte;
}

// The ways an editor most often spoils a material, which the messages alone
// do not name.
std::string_view hintFor(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return "; it is a folder: name the material files in it";
  if (!std::filesystem::exists(path, error)) return {};
  if (!std::filesystem::is_regular_file(path, error)) return "; it is no regular file (a pipe or a device, say)";
  if (materialTooLarge(path)) return {};
  const std::optional<std::string> read = readFileBytes(path);
  if (!read) return {};
  const std::string& bytes = *read;
  if (bytes.find('\0') != std::string::npos) {
    return "; it holds zero bytes, as a file saved as UTF-16 does: save it as GBK (ANSI) text";
  }
  const auto lf = bytes.find('\n');
  if (lf != std::string::npos && (lf == 0 || bytes[lf - 1] != '\r')) {
    return "; its lines end with LF alone, so it reads as one line: save it with CR LF line ends";
  }
  if (looksLikeUtf8(bytes)) {
    return "; but it looks like UTF-8, and the program reads GBK: its texts will show garbled,"
           " save it as GBK (ANSI) text";
  }
  return {};
}

int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "qiru-steno check: name at least one material file, such as 比赛题库/1.基础/单音节.txt\n";
    return kUsageError;
  }
  bool allUsable = true;
  for (const std::string& file : args) {
    const std::filesystem::path path = pathFromUtf8(file);
    // A silent first pass counts the legal lines, so that the second can
    // ask for all of them and show its boxes as a match start would.
    MaterialSet counting;
    loadMaterialFile(counting, path, 0, nullptr);
    FileMessages messages(out, file);
    MaterialSet set(&messages);
    if (loadMaterialFile(set, path, counting.legalCount(), &messages)) {
      out << file << ": " << set.legalCount() << " legal entries" << hintFor(path) << "\n";
    } else {
      out << file << ": a match cannot start with this material" << hintFor(path) << "\n";
      allUsable = false;
    }
  }
  return allUsable ? 0 : 1;
}

}  // namespace

extern const Command kCheckCommand{
    "check",
    "check FILE...",
    "Reads each match material FILE as a match start would, asking for all of its\n"
    "legal entries, and prints every message the program would show for it (the\n"
    "caption on one line, then the text), then the number of legal entries.\n"
    "Exit status 0 when every FILE can start a match, 1 when one cannot.",
    runCheck,
};

}  // namespace qiru::cli
