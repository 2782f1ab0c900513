#pragma once

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

// The items of a JSON array that a long run reports one by one and prints
// whole at its end. They wait in an unnamed temporary file, not in memory,
// so that reporting ten thousand documents holds no more memory than
// reporting ten; where no temporary file can be made they wait in memory.
class JsonSpool {
 public:
  JsonSpool();

  // One value already in JSON.
  void add(std::string_view json);

  // Writes "[a,b,...]" of every value added, in order. Throws when the
  // temporary file cannot be read back.
  void write_array(std::ostream& out);

 private:
  struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, CloseFile> file_;
  std::string in_memory_;  // "a,b,..." when there is no file
  bool empty_ = true;
  bool failed_ = false;  // a write to the file failed
};

}  // namespace cli
