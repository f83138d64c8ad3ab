// How far the running copy, move or delete has come. The action writes it as
// it goes, at the cost of a few relaxed atomic stores per step; the shells
// read it on a timer while work runs, from the window's thread.
#pragma once

#include <cstdint>
#include <string>

#include "actions/drop_outcome.h"

struct ProgressView {
  bool running = false;
  CommandMode mode{};
  int32_t file = 0;         // the current file, counted from 1
  int32_t files = 0;        // files in the drop
  uint64_t bytes_done = 0;  // of the files' content, including the current file's part
  uint64_t bytes_total = 0;
  std::string name;       // the current file's name and extension
  double seconds = 0;     // since the work began
  bool counting = false;  // the files of dropped folders are being counted: files so far
};
ProgressView ReadProgress();

// For the actions.
// Before the work: the files of the dropped folders are counted, files so
// far told as they come.
void BeginCounting(CommandMode mode);
void SetCounted(int32_t files);
void BeginProgress(CommandMode mode, int32_t files, uint64_t bytes_total);
// Files found to do after the work began (a folder counted late).
void AddToProgress(int32_t files, uint64_t bytes);
// The file with this number (from 1) is being worked on; bytes_before is the
// content of the files before it.
void BeginProgressFile(int32_t file, const std::string& name, uint64_t bytes_before);
// Bytes of the current file done so far.
void SetProgressFileBytes(uint64_t bytes);
void EndProgress();

// Where a drop's work stands: the files begun so far, the content of those
// done.
struct ProgressPlace {
  int32_t file = 0;
  uint64_t bytes = 0;
};
