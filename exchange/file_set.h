// Writing the files of one exported dictionary together: none of the old
// files is replaced unless every new one was written.
#pragma once

#include <string>
#include <vector>

namespace exchange {

struct OutputFile {
    std::string path;
    std::string bytes;
};

// Writes each file of `files` to a temporary file beside its target (through
// platform::FileWriter: locked, with the target's permissions) and, once all
// of them are written and flushed, puts each in its target's place, in
// order: readers find a dictionary by its last file, which comes last. A
// failure before that deletes the temporary files and leaves every target as
// it was. False with a message naming the file and the system's reason.
bool WriteFileSet(const std::vector<OutputFile>& files, std::string* error);

}  // namespace exchange
