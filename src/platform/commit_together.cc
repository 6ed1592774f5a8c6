#include "platform/commit_together.h"

namespace tornvel {

namespace {

using State = ReplacedFile::State;

// Each step over the files in order, up to the first that fails.
template <typename Step>
std::optional<CommitFailure> eachFile(std::initializer_list<ReplacedFile*> files, Step step) {
  std::size_t index = 0;
  for (ReplacedFile* file : files) {
    if (file != nullptr) {
      if (const Outcome done = step(*file); !done) return CommitFailure{index, done.failure()};
    }
    ++index;
  }
  return std::nullopt;
}

}  // namespace

std::optional<CommitFailure> commitTogether(std::initializer_list<ReplacedFile*> files) {
  // Every text is on the disk before any file takes its name.
  std::optional<CommitFailure> failed =
      eachFile(files, [](ReplacedFile& file) { return file.finish(); });
  // The last file to take its name needs no way back.
  const ReplacedFile* last = nullptr;
  for (const ReplacedFile* file : files) {
    if (file != nullptr && file->state() == State::kSynced) last = file;
  }
  if (!failed) {
    failed = eachFile(files, [last](ReplacedFile& file) {
      return &file == last ? Outcome() : file.keepEarlier();
    });
  }
  if (!failed) {
    failed = eachFile(files, [](ReplacedFile& file) { return file.commit(); });
    if (failed) {
      for (std::size_t i = 0; i < failed->index; ++i) {
        ReplacedFile* before = files.begin()[i];
        if (before != nullptr) before->restoreEarlier();
      }
    }
  }
  for (ReplacedFile* file : files) {
    if (file != nullptr) file->dropEarlier();
  }
  return failed;
}

}  // namespace tornvel
