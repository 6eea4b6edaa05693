#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava {

// Reads C++ sources the way a message extractor does and collects the English texts the program
// passes through its language lookup: every string literal that is an argument of a call that
// translates (Tr, translate, ShowTip, showBox, showMessage, askYesNo, AddLabel, ...), directly or
// through QStringLiteral / QString::fromLatin1 and the branches of a conditional, and every
// literal marked with QT_TR_NOOP (captions kept in tables and translated later).
class SourceTexts {
public:
    struct Text {
        std::string english; // UTF-8, escapes resolved, adjacent literals joined
        std::string file;
        int line = 0;
    };

    // The texts of one source file's contents, in the order they appear; `file` names them.
    // With `messages` (a file whose strings are messages for the user, handed on to be shown
    // elsewhere) every literal made into a string with QStringLiteral counts as well, unless it
    // is the right operand of == or !=.
    static std::vector<Text> extract(std::string_view source, const std::string& file = {},
                                     bool messages = false);

    // The texts of every .cpp and .h file below `folder`, skipping the sub-folders named in
    // `skipFolders` (front ends that never translate), each English text once, sorted. The files
    // of the sub-folders named in `messageFolders` are read with `messages`.
    static std::vector<Text> collect(const std::filesystem::path& folder,
                                     const std::vector<std::string>& skipFolders,
                                     const std::vector<std::string>& messageFolders = {});

    // The texts the program shows, below its source folder: the window, its pages, the exchange
    // and the settings, and the messages of the forms they show (the command line and the
    // emulator never translate).
    static std::vector<Text> programTexts(const std::filesystem::path& sourceFolder);

    // Whether a call of `name` translates the texts handed to it.
    static bool isTranslatingCall(std::string_view name);
};

} // namespace kestrava
