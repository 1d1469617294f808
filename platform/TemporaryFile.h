#pragma once
// The temporary file that a replacement is written into, in the target's own folder. Where the
// file system allows it the file has no name while it is written, and it is locked for as long
// as its writer lives, so what a killed write left behind can be told from a write in progress.
#include <functional>
#include <string>

namespace file_content {

class TemporaryFile {
public:
    // For the file named target in folder (an open descriptor of it, which must outlive this).
    TemporaryFile(int folder, std::string target);
    ~TemporaryFile();  // removes the temporary name, if one is left
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Makes the file, mode 0600, open for writing at fd() and locked.
    bool Create();
    int fd() const { return fd_; }

    // Puts the written content at target: over whatever name stands there (a symbolic link is
    // replaced, never followed), or, with keepExisting, only where no name stands at all.
    bool Commit(bool keepExisting);

private:
    bool CreateNamed();
    bool LinkUnnamed(const std::string& name) const;
    bool NameUnnamed();

    int folder_;
    std::string target_;
    int fd_ = -1;
    std::string name_;  // empty while the file has no name
};

// A new name for a temporary file of target: ".<target>.tarnvault-", eight random letters or
// digits, then four that check the target and those eight. No other program makes such names.
std::string TemporaryName(const std::string& target);

// Removes the temporary files of target that killed writes left in folder: regular files of
// ours, with one link, under a name that TemporaryName made for target, held by no living
// writer. Everything else stays: links, other users' files, and any name merely like ours.
void RemoveLeftovers(int folder, const std::string& target);

// How temporary files are made: unnamed where the file system allows, else named; tests also
// ask for named ones from the start (as on a file system without unnamed files) and for unnamed
// ones that cannot be linked in (as on an old kernel without /proc).
enum class Temporaries { Unnamed, Named, UnnamedUnlinkable };
void SetTemporariesForTesting(Temporaries kind);

// Runs between the making of a named temporary file and its locking, where another instance's
// clean-up may meet it; an empty function runs nothing.
void SetBeforeLockForTesting(std::function<void(int folder, const std::string& name)> action);

}  // namespace file_content
