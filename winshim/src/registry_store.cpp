#include "registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "diagnostics.h"

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

// The whole file and the stamp of what was read; 0 or the errno of the failure.
int ReadWholeFile(const std::filesystem::path& path, std::string& text, RegistryStore::FileStamp& stamp)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct stat info;
    int error = ::fstat(fd, &info) != 0 ? errno : S_ISREG(info.st_mode) ? 0 : EISDIR;
    char buffer[65536];
    while (error == 0) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, size_t(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    ::close(fd);
    if (error == 0) {
        stamp = StampOf(info);
    }
    return error;
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
        int error = errno;
        document_.reset();
        stamp_.reset();
        return Damaged(error == ENOENT ? "is missing" : "cannot be read: " + ErrnoText(error));
    }
    if (stamp_ && *stamp_ == StampOf(info)) {
        return document_ ? ERROR_SUCCESS : ERROR_BADDB;
    }
    std::string text;
    FileStamp stamp;
    if (int error = ReadWholeFile(*file_, text, stamp)) {
        // Not kept: a change of permissions leaves the stamp as it was.
        document_.reset();
        stamp_.reset();
        return Damaged("cannot be read: " + ErrnoText(error));
    }
    size_t badLine = 0;
    document_ = RegistryDocument::Parse(text, &badLine);
    stamp_ = stamp;
    if (!document_) {
        return Damaged(text.empty() ? "is empty"
                                    : "is not REGEDIT4 text that can be kept (line " + std::to_string(badLine) + ")");
    }
    reported_.clear();
    return ERROR_SUCCESS;
}

LONG RegistryStore::Damaged(const std::string& problem)
{
    if (problem != reported_) {
        Diagnose(file_->string() + " " + problem + ": every registry call fails (ERROR_BADDB) and nothing is written");
        reported_ = problem;
    }
    return ERROR_BADDB;
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
            int error = errno;
            Diagnose("cannot lock " + file_->string() + ".lock: " + ErrnoText(error) + ": the registry is unchanged");
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
    if (int error = Replace(document.Serialize())) {
        Diagnose("cannot write " + file_->string() + ": " + ErrnoText(error) + ": the registry is unchanged");
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

int RegistryStore::Replace(const std::string& text)
{
    std::string temporary = file_->string() + "." + std::to_string(::getpid()) + ".new";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int error = fd < 0 ? errno : 0;
    for (size_t done = 0; error == 0 && done < text.size();) {
        ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put > 0) {
            done += size_t(put);
        } else if (put == 0 || errno != EINTR) {
            error = put == 0 ? EIO : errno;
        }
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    if (error == 0 && ::rename(temporary.c_str(), file_->c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return error;
}

LONG RegistryStore::CreateIfMissing(const std::string& text)
{
    FileLock lock(file_->string() + ".lock");
    if (!lock.Held()) {
        int error = errno;
        Diagnose("cannot lock " + file_->string() + ".lock: " + ErrnoText(error) + ": the machine is not laid out");
        return ERROR_ACCESS_DENIED;
    }
    struct stat info;
    if (::stat(file_->c_str(), &info) == 0) {
        return ERROR_SUCCESS;
    }
    if (int error = Replace(text)) {
        Diagnose("cannot make " + file_->string() + ": " + ErrnoText(error) + ": the machine is not laid out");
        return ErrorFromErrno(error);
    }
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
