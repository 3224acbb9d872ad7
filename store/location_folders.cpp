#include "store/location_folders.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "store/location_store.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

bool entryExists(const std::string& path) {
    std::error_code code;
    return fs::exists(fs::symlink_status(path, code));
}

// The folders a make may create, innermost first, with whether each was there before.
class CreatedFolders {
public:
    explicit CreatedFolders(std::initializer_list<std::string> paths) {
        for (const std::string& path : paths)
            folders_.emplace_back(path, entryExists(path));
    }

    // remove() leaves a folder that holds anything, so only what the make itself put there
    // goes again.
    void takeBack() const {
        for (const auto& [path, existed] : folders_) {
            std::error_code code;
            if (!existed)
                fs::remove(path, code);
        }
    }

private:
    std::vector<std::pair<std::string, bool>> folders_;
};

bool createFolders(const std::string& path, std::string* error) {
    std::error_code code;
    fs::create_directories(path, code);
    if (code) {
        *error = "cannot create '" + path + "': " + code.message();
        return false;
    }
    return true;
}

}  // namespace

NameFault folderNameFault(const std::string& name) {
    if (name.empty())
        return NameFault::Empty;
    if (name.find_first_of(std::string("/\0", 2)) != std::string::npos)
        return NameFault::HoldsSlash;
    if (name.front() == '.')
        return NameFault::StartsWithDot;
    return NameFault::None;
}

NameFault newFolderNameFault(const std::string& parentFolder, const std::string& name) {
    const NameFault fault = folderNameFault(name);
    if (fault != NameFault::None)
        return fault;
    return entryExists(parentFolder + name) ? NameFault::Exists : NameFault::None;
}

const char* nameFaultReason(NameFault fault) {
    switch (fault) {
        case NameFault::None:
            return "";
        case NameFault::Empty:
            return "is empty";
        case NameFault::HoldsSlash:
            return "holds '/', which separates folders";
        case NameFault::StartsWithDot:
            return "starts with a dot, which hides a folder";
        case NameFault::Exists:
            return "exists already";
    }
    return "";
}

bool CreateSiteFolder(const std::string& site, const std::string& root, std::string* error) {
    return createFolders(root + site + "/", error);
}

bool CreateEncoder(const std::string& site, const std::string& encoder,
                   const ConnectionSettings& settings, const std::string& root, bool mayExist,
                   std::string* error) {
    const std::string folder = EncoderFolderPath(site, encoder, root);
    const CreatedFolders created{folder, root + site + "/", root};
    if (!createFolders(root + site + "/", error)) {
        created.takeBack();
        return false;
    }
    // Made with one mkdir, so that an encoder someone else made meanwhile is never taken over.
    if (::mkdir(folder.c_str(), 0777) != 0 && (errno != EEXIST || !mayExist)) {
        *error = "cannot create '" + folder + "': " + std::strerror(errno);
        created.takeBack();
        return false;
    }
    errno = 0;
    if (!WriteConnectionSettings(folder, settings)) {
        *error = "cannot write '" + folder + "tcp.txt': " + std::strerror(errno);
        created.takeBack();
        return false;
    }
    return true;
}

bool RenameFolder(const std::string& parentFolder, const std::string& name,
                  const std::string& newName, std::string* error) {
    const std::string from = parentFolder + name;
    const std::string to = parentFolder + newName;
    // rename(2) alone would replace an empty folder of the new name.
    int result = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (result != 0 && errno == EINVAL && !entryExists(to))
        result = ::rename(from.c_str(), to.c_str());
    if (result != 0) {
        *error = "cannot rename '" + from + "' to '" + newName + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

int countFiles(const std::string& folder) {
    int files = 0;
    std::error_code code;
    for (fs::recursive_directory_iterator it(folder, code), end; !code && it != end;
         it.increment(code)) {
        std::error_code typeCode;
        if (!it->is_directory(typeCode))
            ++files;
    }
    return files;
}

}  // namespace q93
