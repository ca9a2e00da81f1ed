#pragma once

#include "host/base/ByteStore.h"
#include "host/base/Text.h"
#include "host/files/ProgramLayout.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qv {

// A written file that its writer holds open from before it is checked until
// it stands in its place: others may read it, but nobody can change, rename
// or delete it meanwhile.
struct HeldFile {
    Text path;
    // The platform's handle of the open file (a Win32 HANDLE), readable.
    // Read through it: the bytes under `path` are these bytes only while the writer holds it.
    std::uintptr_t handle = 0;
};

// Looks at the written bytes where they lie on disk, under a name of their
// own, before they replace the target; false keeps them from replacing it.
using WrittenFileCheck = std::function<bool(const HeldFile& written)>;

// A file written beside the file it is to replace, under a name of its own,
// and held (see HeldFile) from its creation until it takes the target's
// place. Destroyed before that, it is removed.
class PendingFile {
public:
    virtual ~PendingFile() = default;

    // Writes the bytes of `bytes` beyond those the file already holds, so that
    // a download can be written as it arrives. Throws HostError: a full disk
    // says so here, not only at the end.
    virtual void CatchUp(const ByteSnapshot& bytes) = 0;
    // On disk, flushed, for a check that reads it through its handle.
    virtual HeldFile Written() = 0;
    // The written bytes, read back from disk.
    virtual const ByteSource& Bytes() = 0;

    // The written bytes take the target's place, replacing it. Throws HostError.
    virtual void Replace() = 0;
    // The written bytes take the target's place, and the file that stood
    // there moves aside first, under a name of this program's own, which is
    // returned (empty when there was none). A file that is running, or held
    // by a reader that lets it be renamed, or read-only, moves aside where it
    // could not be replaced. On failure everything stays as it was and the
    // call may be tried again. Throws HostError.
    virtual Text PlaceKeepingPrevious() = 0;
};

// Held while a program replaces a file; gone with the object, or with the program.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileOutput {
public:
    virtual ~FileOutput() = default;

    // Makes `fileName` hold exactly `bytes`, or leaves it as it was: on any
    // failure it throws HostError and no partial file remains. With a check,
    // the bytes replace the file only when the check passes them, and the
    // bytes checked are the bytes that end up under `fileName`.
    virtual void ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes,
                                  const WrittenFileCheck& check = {}) = 0;
    // An empty file beside `fileName`, to be written and put in its place.
    // Throws HostError when the folder takes no new file.
    virtual std::unique_ptr<PendingFile> BeginReplace(const Text& fileName) = 0;
    // Moves `from` to `to`, replacing a file of that name. Throws HostError.
    virtual void MoveReplacing(const Text& from, const Text& to) = 0;
    // Deletes the file, a read-only one too; a file that is not there is no failure.
    virtual void Remove(const Text& fileName) = 0;
    // The files a pending file or a move aside of `fileName` left behind, when
    // the program that made them ended before it could remove them.
    virtual std::vector<Text> Leftovers(const Text& fileName) = 0;
    // A lock on replacing `fileName`, which one program at a time can hold;
    // nothing while another holds it. Throws HostError where no lock can be
    // made, such as in a folder that cannot be written.
    virtual std::unique_ptr<FileLock> TryLock(const Text& fileName) = 0;
};

// Removes the Leftovers of `fileName` and tells each in one line: removed, or
// kept because a program still holds it, for a later run to try again.
void RemoveLeftovers(FileOutput& files, const Text& fileName, const std::function<void(const Text& line)>& tell);

}  // namespace qv
