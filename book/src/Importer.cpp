#include "book/Importer.h"

#include "book/Dbcs.h"
#include "book/DocumentNotifier.h"

#include "aidkern/CAKPathManager.h"

namespace {

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace

void ImporterRegistry::add(std::string_view extension, std::shared_ptr<Importer> importer)
{
    m_importers[lowerAscii(extension)] = std::move(importer);
}

Importer* ImporterRegistry::find(std::string_view extension) const
{
    const auto found = m_importers.find(lowerAscii(extension));
    return found == m_importers.end() ? nullptr : found->second.get();
}

Importer* ImporterRegistry::forPath(const std::string& path) const
{
    std::string extension;
    return CAKPathManager::AKGetFileExtern(path, &extension) == S_OK ? find(extension) : nullptr;
}

std::vector<std::string> ImporterRegistry::extensions() const
{
    std::vector<std::string> all;
    all.reserve(m_importers.size());
    for (const auto& [extension, importer] : m_importers)
        all.push_back(extension);
    return all;
}

const char* messageText(DocMessage message)
{
    switch (message) {
    case DocMessage::NoFileToOpen:
        return "There isn't file to open.";
    case DocMessage::UnsupportedType:
        return "Sorry! This isn't supported file type.";
    case DocMessage::WordMissing:
        return "The Office Word isn't installed or it has been removed.";
    case DocMessage::InnerError:
        return "There is an inner error.";
    case DocMessage::DamagedFile:
        return "Fail to open %s: the file is damaged.";
    case DocMessage::LockedBook:
        return "%s is locked by DRM: only the program of its seller can open it.";
    }
    return "";
}

std::string withPath(const std::string& pattern, const std::string& path)
{
    const size_t at = pattern.find("%s");
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + path + pattern.substr(at + 2);
}

std::string fileMessageText(DocMessage message, const std::string& path)
{
    return withPath(messageText(message), path);
}

const char* messageCaption(DocMessage)
{
    return "Error";
}
