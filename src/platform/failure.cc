#include "platform/failure.h"

#include "platform/file_names.h"
#include "platform/host_files.h"

namespace tornvel {

// Looked at when the open fails, not when the message is worded: what the
// message says of the folder is what the run found.
Failure openFailure(Step step, int error, const std::string& path, Access access) {
  Failure failure{step, error, FolderFinding::kNone};
  const std::string folder = folderOf(path);
  if (error == ENOENT && !folder.empty() && !host::statusOf(folder).exists) {
    failure.folder = FolderFinding::kMissing;
  } else if (access == Access::kWriting && (error == EACCES || error == EPERM || error == EROFS) &&
             host::writeAccess(folder.empty() ? "." : folder) != 0) {
    failure.folder = FolderFinding::kNotWritable;
  }
  return failure;
}

}  // namespace tornvel
