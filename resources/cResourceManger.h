// The resource list: numbers the asset files that content refers to by index. Reading the list
// loads no asset; it records kind, path and file name of each entry.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace qvr {

//! Kind codes of resource entries, as the list file's keywords name them.
enum eResourceKind : int32_t {
    kResourceTexture = 0,
    kResourceMesh = 1,
    kResourceTrack = 2,
    kResourceSound = 3,
    kResourceMaterial = 4,
};

//! One entry of the resource list.
struct cResourceEntry {
    int32_t kind = 0;
    std::string path;      //!< as written in the list, relative to the working directory
    uint8_t used = 0;      //!< set to 1 by every access through the manager's operator[]
    uint8_t reserved = 0;
    std::string label;
    std::string fileName;  //!< the part of path after its last '/' or '\\'
};

class cResourceManger {
public:
    //! Replaces the entries with those of a list file. A missing file, or a first line other than
    //! exactly "VERSION1", leaves the list empty without a report. Lines whose first word is not a
    //! keyword, and empty lines, are skipped.
    void loadResourceList(const std::string& path);
    //! What loadResourceList does with the opened file.
    void readResourceList(std::istream& in);

    //! Appends an entry (used 0, no label) and derives its file name from the path.
    void addResource(const std::string& path, int32_t kind);

    //! The entry at index, marked used. An index outside 0..count()-1 is a fatal error.
    cResourceEntry& operator[](int32_t index);

    //! The entry at index without marking it used; null outside 0..count()-1.
    const cResourceEntry* peek(int32_t index) const;

    int32_t count() const { return static_cast<int32_t>(mEntries.size()); }

    //! The part of a path after its last '/' or '\\'; the whole path when it has neither.
    static std::string fileNameOf(const std::string& path);

private:
    std::vector<cResourceEntry> mEntries;
};

//! The process-wide resource list, created empty on first use.
cResourceManger& getResourceManager();

} // namespace qvr
