#include "platform/output_file.h"

#include "platform/commit_together.h"
#include "platform/file_names.h"
#include "platform/host_files.h"

namespace tornvel {

Outcome OutputFile::open(const std::string& nameAsBuilt) {
  const std::string path = hostPath(nameAsBuilt);
  // What the name reaches decides, not the text of its links: a device, a
  // pipe or a socket cannot be replaced and is written as it stands.
  const host::FileStatus earlier = host::statusOf(path);
  const Outcome opened = earlier.exists && !earlier.regular
                             ? file_.emplace<InPlaceFile>().open(path)
                             : file_.emplace<ReplacedFile>().open(path, earlier);
  if (!opened) file_.emplace<std::monostate>();
  return opened;
}

Outcome OutputFile::check(const std::string& nameAsBuilt) {
  const Result<Reach> checked = checkOutput(nameAsBuilt, OutputUse::kReplace);
  if (!checked) {
    file_.emplace<std::monostate>();
    return checked.failure();
  }
  file_.emplace<Checked>(Checked{checked.value()});
  return {};
}

bool OutputFile::writesInPlace() const {
  const Checked* checked = std::get_if<Checked>(&file_);
  return std::holds_alternative<InPlaceFile>(file_) ||
         (checked != nullptr && checked->reach == Reach::kInPlace);
}

void OutputFile::write(std::string_view text) {
  if (ReplacedFile* file = replaced()) file->write(text);
  if (InPlaceFile* file = std::get_if<InPlaceFile>(&file_)) file->write(text);
}

Outcome OutputFile::finish() {
  if (ReplacedFile* file = replaced()) return file->finish();
  if (InPlaceFile* file = std::get_if<InPlaceFile>(&file_)) return file->finish();
  return {};
}

Outcome OutputFile::commit() {
  if (ReplacedFile* file = replaced()) {
    if (const auto failed = commitTogether({file})) return failed->failure;
    return {};
  }
  return finish();
}

}  // namespace tornvel
