// Picture files, through codec plug-ins loaded by name for each call.
#include "DibView.h"

#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// At most 9 characters after the last dot of the path, lower-cased; empty
// without a dot.
std::string extensionOf(const char* path, bool lower = true)
{
    const char* dot = std::strrchr(path, '.');
    if (!dot)
        return {};
    std::string extension(dot + 1, ::strnlen(dot + 1, 9));
    if (lower) {
        for (char& c : extension) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

std::string moduleTextFor(const std::string& extension)
{
    if (extension == "jpg" || extension == "jpe" || extension == "jpeg")
        return "jpg";
    if (extension == "jpc" || extension == "jp2")
        return "jp2";
    if (extension == "tif" || extension == "tiff")
        return "tif";
    return extension;
}

// Plug-ins sit beside this library.
std::string pluginFolder()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&LoadDIBFromFile), &info) == 0 || !info.dli_fname)
        return ".";
    const std::string self = info.dli_fname;
    const size_t slash = self.rfind('/');
    return slash == std::string::npos ? std::string(".") : self.substr(0, slash);
}

// A plug-in module opened for one call. The codec libraries it pulls in keep
// thread-local state that must outlive the call (unloading them leaves
// dangling thread-local ranges behind), so the module itself stays mapped:
// each call still finds the plug-in by name, the second one at no cost.
class Plugin {
public:
    explicit Plugin(const std::string& moduleText)
    {
        if (moduleText.empty() || moduleText.find('/') != std::string::npos)
            return;
        const std::string path = pluginFolder() + "/Load" + moduleText + ".so";
        m_module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    }
    ~Plugin()
    {
        if (m_module)
            ::dlclose(m_module);
    }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;
    bool loaded() const { return m_module != nullptr; }
    void* symbol(const char* name) const { return m_module ? ::dlsym(m_module, name) : nullptr; }

private:
    void* m_module = nullptr;
};

bool sameFamily(const std::string& a, const std::string& b)
{
    const auto jpeg = [](const std::string& e) { return e == "jpg" || e == "jpe" || e == "jpeg"; };
    const auto tiff = [](const std::string& e) { return e == "tif" || e == "tiff"; };
    return a == b || (jpeg(a) && jpeg(b)) || (tiff(a) && tiff(b));
}

int copyFile(const char* from, const char* to)
{
    const int in = ::open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return 0;
    const int out = ::open(to, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        ::close(in);
        return 0;
    }
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
            ok = put > 0;
            done += put > 0 ? put : 0;
        }
        if (!ok)
            break;
    }
    ::close(in);
    ok = ::close(out) == 0 && ok;
    return ok ? 1 : 0;
}

}  // namespace

HDIB LoadDIBFromFile(const char* path)
{
    if (!path)
        return nullptr;
    const std::string extension = extensionOf(path);
    if (extension.empty())
        return nullptr;
    Plugin plugin(moduleTextFor(extension));
    const auto load = reinterpret_cast<PixmillLoadFunction>(plugin.symbol("LoadFromFile"));
    if (!load)
        return nullptr;
    HDIB dib = load(path);
    // Nothing the plug-in returns is trusted without a look.
    if (dib && !pixmill::DibView::of(dib)) {
        DibFree(dib);
        return nullptr;
    }
    return dib;
}

int SaveDIBToFile(HDIB dib, const char* path)
{
    if (!dib || !path || !pixmill::DibView::of(dib))
        return 0;
    const std::string extension = extensionOf(path);
    if (extension.empty())
        return 0;
    Plugin plugin(moduleTextFor(extension));
    const auto save = reinterpret_cast<PixmillSaveFunction>(plugin.symbol("SaveToFile"));
    return save && save(dib, path) ? 1 : 0;
}

int SaveAsPicture(const char* source, const char* target)
{
    if (!source || !target)
        return 0;
    if (std::strcmp(source, target) == 0)
        return 1;
    const std::string from = extensionOf(source), to = extensionOf(target);
    if (from.empty() || to.empty())
        return 0;
    if (sameFamily(from, to))
        return copyFile(source, target);
    HDIB dib = LoadDIBFromFile(source);
    if (!dib)
        return 0;
    const int saved = SaveDIBToFile(dib, target);
    DibFree(dib);
    return saved;
}

int CheckFileSupport(const char* path)
{
    if (!path)
        return 0;
    const std::string extension = extensionOf(path);
    if (extension.empty())
        return 0;
    static const char* const kKnown[] = {"bmp", "jpg", "jpe", "jpeg", "jp2", "jpc",
                                         "gif", "tif", "tiff", "pcx", "tga", "png"};
    for (const char* known : kKnown) {
        if (extension == known)
            return 1;
    }
    return Plugin(extensionOf(path, false)).loaded() ? 1 : 0;
}
