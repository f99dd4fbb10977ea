// qiru-gen-data DIR: regenerates the built-in data files into DIR.

#include <filesystem>
#include <fstream>
#include <iostream>

#include "tools/datagen/generated_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: qiru-gen-data DATA_DIR\n"
                 "writes every generated data file (the built-in fingering scheme, the syllable\n"
                 "dictionary block, ...) into DATA_DIR, normally the project's data/ folder\n";
    return 2;
  }
  for (const auto& file : qiru::datagen::kGeneratedFiles) {
    const std::string path = std::string(argv[1]) + "/" + std::string(file.name);
    const std::string bytes = file.generate();
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::cerr << "qiru-gen-data: cannot write " << path << "\n";
      return 1;
    }
    std::cout << path << ": " << bytes.size() << " bytes\n";
  }
  return 0;
}
