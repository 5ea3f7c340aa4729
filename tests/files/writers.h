// The four files the program writes, each with the routine that really saves
// it, the routine that loads it back (when the program has one) and what the
// user is told, so one table of tests runs over all of them.
#pragma once

#include "support/recording_interaction.h"

#include <QString>
#include <functional>
#include <vector>

class TQv1mPage;
class TQv4mCommandsPage;
class TQv4mPages;

namespace files_test {

// The program's windows the savers run in, and the stand-in user.
struct TWorld {
    RecordingInteraction user;
    TQv4mPages* pages = nullptr;
    TQv4mCommandsPage* commands = nullptr;
    TQv1mPage* ri1r = nullptr;
};

struct TWriter {
    const char* label; // test name suffix
    QString fileName;
    // The program writes this file into its current folder (fixed name).
    bool inCurrentFolder = false;
    // A missing folder is made, as for the per-user settings folder.
    bool makesItsFolder = false;
    // Puts one of two distinct sets of values (0 or 1) into memory, and tells
    // which one memory holds (-1: neither).
    std::function<void(int variant)> setVariant;
    std::function<int()> variantInMemory;
    // Saves into the folder; for the current-folder files the folder must be
    // the current one already.
    std::function<void(const QString& folder)> save;
    // Loads from the folder with the program's own loader and returns the
    // variant it got (-1: none); empty when the program never reads the file.
    std::function<int(const QString& folder)> load;
    // What the last save or load told the user.
    std::function<QString()> told;
    std::function<bool(const QString& told)> toldFailure;
    // The failure text names its cause (the fixed "Запись не прошла" does not).
    bool toldsCause = false;
    QString toldSuccess;
};

inline constexpr int kWriterCount = 4;
std::vector<TWriter> MakeWriters(TWorld& world);
// The test name suffix of writer i, without building the table.
const char* WriterLabel(int i);

} // namespace files_test
