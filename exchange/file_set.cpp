#include "exchange/file_set.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/file_writer.h"

namespace exchange {
namespace {

std::string Reason(int error) {
    return error != 0 ? std::string(": ") + std::strerror(error) : std::string();
}

}  // namespace

bool WriteFileSet(const std::vector<OutputFile>& files, std::string* error) {
    std::vector<std::unique_ptr<platform::FileWriter>> writers;
    for (const OutputFile& file : files) {
        writers.push_back(std::make_unique<platform::FileWriter>());
        platform::FileWriter& writer = *writers.back();
        errno = 0;
        const platform::OpenResult opened = writer.CreateBeside(file.path.c_str());
        if (opened == platform::OpenResult::kBusy) {
            *error = "Can't lock file for writing: " + file.path +
                     " (another program is saving it; try again later)";
            return false;
        }
        if (opened != platform::OpenResult::kOpened ||
            !writer.Write(file.bytes.data(), file.bytes.size()) || !writer.Finish()) {
            *error = "Can't write to file " + file.path + Reason(errno);
            return false;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        errno = 0;
        if (!writers[i]->Commit()) {
            *error = "Can't write to file " + files[i].path + Reason(errno);
            return false;
        }
    }
    return true;
}

}  // namespace exchange
