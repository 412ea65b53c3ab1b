#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace orv {

class AtomicFileStream;

// "cannot write "NAME": REASON", the text a failed output file reports (UTF-8).
std::string FileFailure(const std::u16string& name, const std::string& reason);

// One output file of a format other than the PNG sequence: the bytes go to a temporary file in
// the target folder, which Commit renames over the target. Destroyed before Commit, it removes
// the temporary file and leaves the target as it was. Failures throw std::runtime_error with the
// file's name and the reason.
class SinkFile {
public:
    explicit SinkFile(const std::u16string& name);
    ~SinkFile();
    SinkFile(const SinkFile&) = delete;
    SinkFile& operator=(const SinkFile&) = delete;

    void Write(const void* bytes, std::size_t size);
    void Commit();

    const std::u16string& Name() const { return name_; }

private:
    [[noreturn]] void Fail(const std::string& reason) const;

    std::u16string name_;
    std::unique_ptr<AtomicFileStream> stream_;
};

}  // namespace orv
