#pragma once
// The temporary files a replacing save makes beside its target, and the removal of those a
// killed save left behind. A save names its temporary NAME.tmp-PID-XXXXXX after the
// process that writes it; one whose process has ended is stale. Earlier saves named them
// NAME.tmpXXXXXX (and the batch processor NAME.batch-XXXXXX), without an owner: those are
// stale once they are older than the running process, and only beside the file NAME they
// were to replace (a user's own "report.tmpfile1" is never taken for one).
//
// Control thread (any thread that saves).

#include <string>
#include <string_view>

namespace chordella::platform {

// The temporary file's name for a save of `path` by this process (mkstemp's XXXXXX at its end).
std::string TemporaryNameFor(const std::string& path);

enum class TemporaryKind {
    NotOurs,    // any other file
    Owned,      // NAME.tmp-PID-XXXXXX
    Unowned,    // NAME.tmpXXXXXX, NAME.batch-XXXXXX
};
// What `name` (a file name without folder) is; `owner` receives the PID of an Owned one,
// `target` the name of the file it was to replace.
TemporaryKind KindOfTemporary(std::string_view name, long& owner, std::string_view& target);

// Removes the stale temporaries in `folder` (not below it); answers how many went.
int RemoveStaleTemporaries(const std::string& folder);

}  // namespace chordella::platform
