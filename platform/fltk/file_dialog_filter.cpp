#include "platform/fltk/file_dialog_filter.h"

namespace shellfem::platform::fltk {

std::string toFltkFilter(const std::string& filter) {
    const std::size_t nul = filter.find('\0');
    if (nul != std::string::npos) // "Text Files (*.txt)\0*.txt"
        return filter.substr(0, nul) + "\t" + filter.substr(nul + 1);
    const std::size_t open = filter.rfind('(');
    const std::size_t close = filter.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return filter.empty() ? std::string("*") : filter;
    std::string patterns = filter.substr(open + 1, close - open - 1);
    // "*.txt;*.dat" in Windows is "{*.txt,*.dat}" in FLTK.
    if (patterns.find(';') != std::string::npos) {
        std::string joined = "{";
        for (char c : patterns)
            joined += c == ';' ? ',' : c;
        patterns = joined + "}";
    }
    // FLTK (and GTK's chooser) show the patterns after the name themselves.
    std::string name = filter.substr(0, open);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return (name.empty() ? patterns : name) + "\t" + patterns;
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty() || path.empty())
        return path;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return path;
    return path + "." + extension;
}

} // namespace shellfem::platform::fltk
