// The program's start-up, in the order the Windows program follows: the
// settings file found or created and loaded, the box created hidden, its
// opacity set, its menu built, drops accepted, and the settings applied,
// which shows it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/common/program.h"

class DropBoxWidget;

// Start-up with the settings file the command line named, or beside the
// executable (or in the per-user folder); the paths are the first drop.
// Needs a QApplication. Null when a box already runs over the same settings
// file: that one was handed the paths (or came to the front), and the
// program ends with 0.
std::unique_ptr<DropBoxWidget> StartDropBox(const StartRequest& start);
// The same with the settings folders given, as PrepareProgramIn takes them.
std::unique_ptr<DropBoxWidget> StartDropBoxIn(const std::string& program_folder,
                                              const std::string& user_folder,
                                              const std::vector<std::string>& paths = {});
