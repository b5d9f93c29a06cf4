#include "sheet/scene.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cctype>
#include <stdexcept>

namespace sheet {
namespace {

    /// The painting module's one entry point; see draw/picture.cpp.
    using PaintFunction = bool (*)(const Scene *, int, std::string *, std::string *);

    std::string ownFolder()
    {
        std::string path(4096, '\0');
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length <= 0)
            return {};
        path.resize(static_cast<std::size_t>(length));
        return path.substr(0, path.rfind('/'));
    }

    /// The module lies in the library folder beside the programs' own: installed, and in the
    /// build tree alike, where CMake puts it in the same place relative to the programs.
    std::string modulePlace()
    {
        const std::string place = KORVANE_DRAW_MODULE;
        return place.front() == '/' ? place : ownFolder() + "/../" + place;
    }

    PaintFunction paintFunction()
    {
        static PaintFunction paint = nullptr;
        if (paint)
            return paint;
        const std::string place = modulePlace();
        void *module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module)
            throw std::runtime_error(std::string("cannot load the painting module: ") + dlerror());
        paint = reinterpret_cast<PaintFunction>(dlsym(module, "korvane_paint_picture"));
        if (!paint)
            throw std::runtime_error(place + " is not Korvane's painting module");
        return paint;
    }

} // namespace

std::optional<Format> formatOf(const std::string &file)
{
    const std::size_t dot = file.rfind('.');
    const std::size_t slash = file.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::nullopt;
    std::string extension = file.substr(dot + 1);
    for (char &ch : extension)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (extension == "svg")
        return Format::Svg;
    if (extension == "png")
        return Format::Png;
    if (extension == "pdf")
        return Format::Pdf;
    if (extension == "dxf")
        return Format::Dxf;
    return std::nullopt;
}

const char *formatList()
{
    return ".svg, .png, .pdf or .dxf";
}

std::string picture(const Scene &scene, Format format)
{
    std::string bytes, error;
    if (!paintFunction()(&scene, static_cast<int>(format), &bytes, &error))
        throw std::runtime_error(error);
    return bytes;
}

std::string render(const Scene &scene, Format format)
{
    if (format == Format::Dxf)
        return dxf(scene);
    if (format == Format::Svg)
        return svg(scene);
    return picture(scene, format);
}

} // namespace sheet
