#include "main/UserData.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "assets/AssetFiles.h"
#include "files/AtomicFile.h"
#include "files/FileBytes.h"
#include "stage/OwnStages.h"
#include "stage/ResultFile.h"
#include "stage/StageCatalogue.h"

namespace fs = std::filesystem;

namespace {

// Where the installed content lies, from the program's folder: the same from
// <prefix>/bin and from /usr/games.
constexpr const char* InstalledContent = "../share/games/orb";
// Every install of this game holds this file; a link into a folder that does
// is one this game made.
constexpr const char* InstallMark = "Shader/Shader_Model.cso";
constexpr const char* UserFolder = "orb";
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

// Whether the link at name was made by this game for some install: its
// target is that install's entry of the same name.
bool PointsIntoAnInstall(const fs::path& target, const fs::path& name)
{
    fs::path root = target;
    for (auto part = name.begin(); part != name.end() && root.has_relative_path(); ++part)
        root = root.parent_path();
    std::error_code code;
    return (root / name).lexically_normal() == target.lexically_normal() && fs::is_regular_file(root / InstallMark, code);
}

// Makes link point at target, replacing what is there atomically: another
// copy of the game starting at the same moment never finds it missing.
bool Relink(const fs::path& target, const fs::path& link, std::string& error)
{
    std::error_code code;
    fs::path temporary = link;
    temporary += ".link-" + std::to_string(getpid());
    fs::remove(temporary, code);
    fs::create_symlink(target, temporary, code);
    if (!code)
        fs::rename(temporary, link, code);
    if (code) {
        fs::remove(temporary, code);
        error = Failure("link", link, code);
        return false;
    }
    return true;
}

// Links name in the player's folder to the install's. What the player put
// there is kept: a real file or folder, or a link of their own. Only a link
// that leads nowhere, or one this game made for an install, is replaced.
bool Link(const fs::path& target, const fs::path& user, const fs::path& name, std::string& error)
{
    const fs::path link = user / name;
    std::error_code code;
    const fs::file_status status = fs::symlink_status(link, code);
    if (!fs::is_symlink(status))
        return fs::exists(status) || Relink(target, link, error);
    const fs::path current = fs::read_symlink(link, code);
    if (code || current == target)
        return true;
    if (fs::exists(link, code) && !PointsIntoAnInstall(current, name))
        return true;
    return Relink(target, link, error);
}

bool Contains(const fs::path& folder, const fs::path& inner)
{
    return std::mismatch(folder.begin(), folder.end(), inner.begin(), inner.end()).first == folder.end();
}

// Links every entry of an installed folder from the player's, but for the
// writable folder; the folders that hold it are made and linked into in turn.
bool LinkReadOnly(const fs::path& installed, const fs::path& user, const fs::path& folder, std::string& error)
{
    const fs::path writable = StageData::Folder;
    std::error_code code;
    for (fs::directory_iterator entry(installed / folder, code), end; !code && entry != end; entry.increment(code)) {
        const fs::path name = folder / entry->path().filename();
        if (name == writable)
            continue;
        const bool linked = Contains(name, writable)
                                ? MakeWritableFolder(user / name, error) && LinkReadOnly(installed, user, name, error)
                                : Link(entry->path(), user, name, error);
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
    // Inside the install, the player's scores would be written over by the
    // next install of the game, and removed with it.
    const fs::path canonicalInstall = fs::weakly_canonical(installed, code);
    const fs::path canonicalUser = fs::weakly_canonical(user, code);
    if (Contains(canonicalInstall, canonicalUser)) {
        error = "the player's folder " + user.string() + " lies inside the installed game at " + installed.string() +
                "; set XDG_DATA_HOME to a folder of the player's own";
        return false;
    }
    if (!SeedStages(installed / StageData::Folder, user / StageData::Folder, error) ||
        !LinkReadOnly(installed, user, {}, error))
        return false;
    fs::current_path(user, code);
    if (code) {
        error = Failure("enter", user, code);
        return false;
    }
    return true;
}

void RemoveSaveLeftovers(const std::string& settingsFile)
{
    if (!settingsFile.empty())
        AtomicFile::RemoveLeftovers(fs::path(settingsFile).parent_path().string());
    // Where it runs: the editor's kept board.
    AtomicFile::RemoveLeftovers(".");
    AtomicFile::RemoveLeftovers(StageData::Folder);
    AtomicFile::RemoveLeftovers(OwnStages::Folder);
    for (int group = 1; group <= StageCatalogue::Groups; ++group)
        AtomicFile::RemoveLeftovers(fs::path(ResultFile::Path(group, 1)).parent_path().string());
}
