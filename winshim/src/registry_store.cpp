#include "registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace winshim {

namespace {

// Holds the machine-wide registry lock for as long as it lives.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

RegistryStore::FileStamp StampOf(const struct stat& info)
{
    return {info.st_dev, info.st_ino, info.st_size, (long long)info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
}

LONG ErrorFromErrno(int error)
{
    return (error == EACCES || error == EPERM || error == EROFS) ? ERROR_ACCESS_DENIED : ERROR_CANTWRITE;
}

}  // namespace

RegistryStore RegistryStore::InFile(std::filesystem::path file)
{
    RegistryStore store;
    store.file_ = std::move(file);
    return store;
}

RegistryStore RegistryStore::InMemory(std::string text)
{
    RegistryStore store;
    store.SetText(text);
    return store;
}

LONG RegistryStore::Refresh()
{
    if (!file_) {
        return document_ ? ERROR_SUCCESS : ERROR_BADDB;
    }
    struct stat info;
    if (::stat(file_->c_str(), &info) != 0) {
        document_.reset();
        stamp_.reset();
        return ERROR_BADDB;
    }
    FileStamp stamp = StampOf(info);
    if (stamp_ && *stamp_ == stamp) {
        return document_ ? ERROR_SUCCESS : ERROR_BADDB;
    }
    std::ifstream in(*file_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    document_ = in ? RegistryDocument::Parse(text.str()) : std::nullopt;
    stamp_ = stamp;
    return document_ ? ERROR_SUCCESS : ERROR_BADDB;
}

LONG RegistryStore::Read(const std::function<LONG(const RegistryDocument&)>& reader)
{
    LONG result = Refresh();
    return result == ERROR_SUCCESS ? reader(*document_) : result;
}

LONG RegistryStore::Update(const std::function<LONG(RegistryDocument&, bool& changed)>& writer)
{
    std::optional<FileLock> lock;
    if (file_) {
        lock.emplace(file_->string() + ".lock");
        if (!lock->Held()) {
            return ERROR_ACCESS_DENIED;
        }
    }
    LONG result = Refresh();
    if (result != ERROR_SUCCESS) {
        return result;
    }
    RegistryDocument changedDocument = *document_;
    bool changed = false;
    result = writer(changedDocument, changed);
    if (result != ERROR_SUCCESS || !changed) {
        return result;
    }
    return Store(changedDocument);
}

LONG RegistryStore::Store(const RegistryDocument& document)
{
    if (!file_) {
        document_ = document;
        return ERROR_SUCCESS;
    }
    std::string text = document.Serialize();
    std::string temporary = file_->string() + "." + std::to_string(::getpid()) + ".new";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return ErrorFromErrno(errno);
    }
    bool written = ::write(fd, text.data(), text.size()) == ssize_t(text.size()) && ::fsync(fd) == 0;
    int error = errno;
    ::close(fd);
    if (!written || ::rename(temporary.c_str(), file_->c_str()) != 0) {
        error = written ? errno : error;
        ::unlink(temporary.c_str());
        return ErrorFromErrno(error);
    }
    // Still under the lock: the file on disk is the one just written.
    struct stat info;
    if (::stat(file_->c_str(), &info) == 0) {
        stamp_ = StampOf(info);
    } else {
        stamp_.reset();
    }
    document_ = document;
    return ERROR_SUCCESS;
}

std::string RegistryStore::Text()
{
    if (!file_) {
        return document_ ? document_->Serialize() : memoryText_;
    }
    std::ifstream in(*file_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void RegistryStore::SetText(const std::string& text)
{
    if (!file_) {
        document_ = RegistryDocument::Parse(text);
        memoryText_ = text;
        return;
    }
    std::ofstream(*file_, std::ios::binary | std::ios::trunc) << text;
    stamp_.reset();
}

}  // namespace winshim
