#include "platform/output_check.h"

#include "platform/file_names.h"
#include "platform/host_files.h"

namespace tornvel {

Result<Reach> checkOutput(const std::string& nameAsBuilt, OutputUse use) {
  const std::string path = hostPath(nameAsBuilt);
  const auto failed = [&path](int error) {
    return openFailure(Step::kCheck, error, path, Access::kWriting);
  };
  const host::FileStatus status = host::statusOf(path);
  if (status.directory) return failed(EISDIR);
  if (status.exists && !status.regular) return Reach::kInPlace;
  if (status.exists && use == OutputUse::kAppend) {
    if (const int error = host::writeAccess(path); error != 0) return failed(error);
    return Reach::kFile;
  }
  std::string folder = folderOf(host::resolveLinks(path));
  if (folder.empty()) folder = ".";
  if (!host::statusOf(folder).directory) return failed(ENOENT);
  if (const int error = host::writeAccess(folder); error != 0) return failed(error);
  return Reach::kFile;
}

}  // namespace tornvel
