#pragma once

#include <array>
#include <cstring>
#include <istream>
#include <optional>
#include <streambuf>
#include <string>
#include <type_traits>

namespace qv::replay {

// A file read as a stream that remembers why reading stopped: a standard file stream turns a
// failed read (of a directory, or of a disk that fails midway) into a quiet end of file.
class InputFile : public std::streambuf {
public:
    // Opens `path` for reading; on failure error() holds the system's error number.
    explicit InputFile(const std::string& path);
    // Reads from an open descriptor, which it then owns.
    explicit InputFile(int descriptor) : descriptor_(descriptor) {}
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    // The error number of the failed open or read, 0 when none failed.
    int error() const { return error_; }

protected:
    int_type underflow() override;

private:
    int descriptor_ = -1;
    int error_ = 0;
    std::array<char, 64 * 1024> buffer_{};
};

// Why a file did not give what its parser makes of it.
struct FileFailure {
    enum class Stage { Open, Read, Text };
    Stage stage = Stage::Open;
    // The system's reason when the file failed, the parser's when its text did.
    std::string why;
};

// What `parse(stream, error)` makes of the whole file at `path`. Nothing, with `failure` filled in,
// when the file cannot be opened, when a read fails partway (what came before is not the whole
// file, whatever the parser made of it), or when the parser refuses the text.
template <typename Parse>
auto parseFile(const std::string& path, Parse&& parse, FileFailure& failure)
    -> std::invoke_result_t<Parse, std::istream&, std::string&> {
    InputFile file(path);
    if (!file.isOpen()) {
        failure = {FileFailure::Stage::Open, std::strerror(file.error())};
        return std::nullopt;
    }
    std::istream input(&file);
    std::string error;
    auto parsed = parse(input, error);
    if (file.error() != 0) {
        failure = {FileFailure::Stage::Read, std::strerror(file.error())};
        return std::nullopt;
    }
    if (!parsed) {
        failure = {FileFailure::Stage::Text, std::move(error)};
    }
    return parsed;
}

}  // namespace qv::replay
