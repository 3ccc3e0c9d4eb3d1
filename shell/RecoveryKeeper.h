#pragma once

#include "framework/OwnedHandle.h"
#include "storage/Document.h"
#include "storage/RecoveryFile.h"

#include <windows.h>

#include <optional>
#include <string>

// This copy's recovery file in the user's local application data
// (...\OrvikCalendar\Recovery\): the diary with its unsaved changes, so that
// a crash, a kill or the end of the Windows session loses nothing. Each
// running copy has a file of its own and holds a named mutex for it while
// it runs, so that another copy never takes it for one left behind.
class CRecoveryKeeper {
  public:
    CRecoveryKeeper();

    // Keeps the document as it is: written when it has unsaved changes (in
    // one safe step, as a save is), removed when it has none.
    void Keep(const Document& document);
    void Remove();
    // This copy's file (it exists only while there are unsaved changes).
    const std::string& File() const { return ownFile; }

    // A recovery file that a copy which is no longer running left behind.
    struct Left {
        std::string file;
        std::int64_t time = 0; // when it was written, seconds since 1970
    };
    // The newest of them, if any.
    std::optional<Left> NewestLeft() const;

  private:
    std::string folder;        // empty when the folder cannot be had
    std::string id;            // this copy's: the process and its start
    std::string ownFile;       // in folder
    OwnedKernelObject running; // the mutex that says this copy still runs
};
