#include "main/UserData.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/FileBytes.h"

namespace fs = std::filesystem;

namespace {

// Where the installed content lies, from the program's folder.
constexpr const char* InstalledContent = "../share/orb";
constexpr const char* UserFolder = "orb";
// The one folder the game writes into; everything else it only reads.
constexpr const char* WritableFolder = "Resource/BData";
// Far above any stage or result file.
constexpr std::size_t ShippedFileLimit = 1 << 20;

std::string Failure(const char* what, const fs::path& path, const std::error_code& code)
{
    return std::string("cannot ") + what + " " + path.string() + ": " + code.message();
}

std::error_code LastError()
{
    return std::error_code(errno, std::generic_category());
}

// XDG's data home, or its default under HOME; empty when neither names an
// absolute folder (the XDG rule: a relative one is ignored).
fs::path DataHome()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && fs::path(dataHome).is_absolute())
        return dataHome;
    const char* home = std::getenv("HOME");
    if (home && fs::path(home).is_absolute())
        return fs::path(home) / ".local/share";
    return {};
}

// The player's scores are saved into these folders later; a folder the game
// cannot write into is better reported now than at the first clear.
bool MakeWritableFolder(const fs::path& folder, std::string& error)
{
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) {
        error = Failure("create", folder, code);
        return false;
    }
    // With the effective ids, as the later saves will be checked.
    if (faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) != 0) {
        error = Failure("write into", folder, LastError());
        return false;
    }
    return true;
}

// Each file is copied whole or not at all: a half-copied stage would
// otherwise be kept as the player's own for good.
bool CopyIfMissing(const fs::path& from, const fs::path& to, std::string& error)
{
    std::error_code code;
    if (fs::exists(fs::symlink_status(to, code)))
        return true;
    std::string reason;
    const auto bytes = ReadFileBytes(from.string(), ShippedFileLimit, reason);
    if (!bytes) {
        error = "cannot read " + from.string() + ": " + reason;
        return false;
    }
    // EEXIST: the editor, started at the same moment, copied it first.
    if (!AtomicFile::Create(to.string(), std::string(bytes->begin(), bytes->end())) && errno != EEXIST) {
        error = Failure("write", to, LastError());
        return false;
    }
    return true;
}

bool SeedStages(const fs::path& shipped, const fs::path& user, std::string& error)
{
    if (!MakeWritableFolder(user, error))
        return false;
    std::error_code code;
    for (fs::recursive_directory_iterator entry(shipped, code), end; !code && entry != end; entry.increment(code)) {
        const fs::path target = user / entry->path().lexically_relative(shipped);
        const bool copied = entry->is_directory() ? MakeWritableFolder(target, error)
                                                  : CopyIfMissing(entry->path(), target, error);
        if (!copied)
            return false;
    }
    if (code) {
        error = Failure("read", shipped, code);
        return false;
    }
    return true;
}

// A real file or folder where a link belongs is the player's own and is kept.
bool Link(const fs::path& target, const fs::path& link, std::string& error)
{
    std::error_code code;
    const fs::file_status status = fs::symlink_status(link, code);
    if (fs::is_symlink(status)) {
        if (fs::read_symlink(link, code) == target)
            return true;
        fs::remove(link, code);
    } else if (fs::exists(status)) {
        return true;
    } else {
        // Missing; if it could not even be looked at, making it says why.
        code.clear();
    }
    if (!code)
        fs::create_symlink(target, link, code);
    if (code) {
        error = Failure("link", link, code);
        return false;
    }
    return true;
}

bool Contains(const fs::path& folder, const fs::path& inner)
{
    return std::mismatch(folder.begin(), folder.end(), inner.begin(), inner.end()).first == folder.end();
}

// Links every entry of an installed folder from the player's, but for the
// writable folder; the folders that hold it are made and linked into in turn.
bool LinkReadOnly(const fs::path& installed, const fs::path& user, const fs::path& folder, std::string& error)
{
    const fs::path writable = WritableFolder;
    std::error_code code;
    for (fs::directory_iterator entry(installed / folder, code), end; !code && entry != end; entry.increment(code)) {
        const fs::path name = folder / entry->path().filename();
        if (name == writable)
            continue;
        const bool linked = Contains(name, writable)
                                ? MakeWritableFolder(user / name, error) && LinkReadOnly(installed, user, name, error)
                                : Link(entry->path(), user / name, error);
        if (!linked)
            return false;
    }
    if (code) {
        error = Failure("read", installed / folder, code);
        return false;
    }
    return true;
}

}  // namespace

bool EnterDataDirectory(const std::string& executablePath, std::string& error)
{
    std::error_code code;
    const fs::path executable = fs::canonical(executablePath, code);
    if (code) {
        error = Failure("find the running program at", executablePath, code);
        return false;
    }
    const fs::path installed = (executable.parent_path() / InstalledContent).lexically_normal();
    if (!fs::is_directory(installed / "Resource", code))
        return true;

    const fs::path dataHome = DataHome();
    if (dataHome.empty()) {
        error = "no folder for the player's data: neither XDG_DATA_HOME nor HOME is an absolute path";
        return false;
    }
    const fs::path user = dataHome / UserFolder;
    if (!SeedStages(installed / WritableFolder, user / WritableFolder, error) ||
        !LinkReadOnly(installed, user, {}, error))
        return false;
    fs::current_path(user, code);
    if (code) {
        error = Failure("enter", user, code);
        return false;
    }
    return true;
}
