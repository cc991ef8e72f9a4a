// Importers turn a file into pages of the active window. Each registers for
// the extensions it reads; opening a file with no importer behind its
// extension reports an unsupported type.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>
#include <string_view>

class CVersaleoDoc;

class Importer {
public:
    virtual ~Importer() = default;
    // Inserts the file's pages at the start of the content; false when the
    // file could not be read (the opening goes on without a message).
    virtual bool import(CVersaleoDoc& doc, const std::string& path) = 0;
    // Whether this importer reads the program's own book files.
    virtual bool readsBookFiles() const { return false; }
};

class ImporterRegistry {
public:
    // Extensions without the dot, compared without regard to case.
    void add(std::string_view extension, std::shared_ptr<Importer> importer);
    Importer* find(std::string_view extension) const;
    // The importer of a path's extension, or null.
    Importer* forPath(const std::string& path) const;
    // Every registered extension, lower case, in alphabetical order.
    std::vector<std::string> extensions() const;

private:
    std::map<std::string, std::shared_ptr<Importer>> m_importers;
};
