#pragma once
// The machine's store of the release's values (SERVER, VER, CALE, CALESALVARI): an INI file
// per release in the per-user configuration folder. Each yearly release has its own file,
// so the next release can read this one's CALE to find last year's data.

#include <QString>

namespace vartesa {

/// This release's number, and the previous year's.
constexpr int kRelease = 69;
constexpr int kPreviousRelease = 64;

class ReleaseRegistry {
public:
    /// `folder` holds the files (tests give a temporary one); `release` picks the file.
    ReleaseRegistry(const QString& folder, int release = kRelease);
    /// The per-user configuration folder of the program (VARTESA_REGISTRY overrides it).
    static QString defaultFolder();

    /// A missing value (or file) reads as "". Names match without regard to case.
    QString ReadRegistryValue(const QString& name) const;
    /// Creates the file when missing; a value stored under another case of `name` is replaced.
    void WriteRegistryValue(const QString& name, const QString& value);
    /// The same store of another release (the previous year's, say).
    ReleaseRegistry release(int number) const { return ReleaseRegistry(folder_, number); }
    QString path() const;

private:
    QString folder_; // where the files lie
    int release_;    // which release's file
};

} // namespace vartesa
