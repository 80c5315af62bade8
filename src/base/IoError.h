#pragma once

// The sticky error state that the diary file and the notes file share. A file
// operation that fails leaves a pending failure; IoFailed picks it up into the
// sticky flag, which stays set until ResetIoError.
class TIoError
{
public:
    // Called by file code when an operation fails.
    void ReportFailure() { Pending = true; }
    // Takes up a pending failure; true while the sticky flag is set.
    bool IoFailed();
    // Forgets any pending failure and clears the sticky flag.
    void ResetIoError();
    bool IoError() const { return Sticky; }

private:
    bool Pending = false;
    bool Sticky = false;
};
