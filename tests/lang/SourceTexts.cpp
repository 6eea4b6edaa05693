#include "lang/SourceTexts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace kestrava {
namespace {

// Calls whose string arguments are English keys of the language lookup.
constexpr std::array<std::string_view, 24> kTranslatingCalls = {"Tr",
                                                                "tr",
                                                                "translate",
                                                                "TranslateText",
                                                                "ShowTip",
                                                                "showBox",
                                                                "showErrorBox",
                                                                "showMessage",
                                                                "showWarning",
                                                                "showError",
                                                                "askYesNo",
                                                                "AddLabel",
                                                                "AddGroup",
                                                                "AddButton",
                                                                "AddCaption",
                                                                "Add",
                                                                "ShowPageTip",
                                                                "abandonDownload",
                                                                "refuse",
                                                                "beginSend",
                                                                "QT_TR_NOOP",
                                                                "QT_TRANSLATE_NOOP",
                                                                "translatedText",
                                                                "progressTip"};

// Calls that only wrap a literal into a string object; the call around them decides.
constexpr std::array<std::string_view, 8> kWrappers = {
    "QStringLiteral", "fromLatin1",  "fromUtf8",          "QLatin1String",
    "QString",        "QStringView", "QLatin1StringView", "u16string"};

bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

struct Frame {
    char open;             // '(', '{' or '['
    std::string name;      // the identifier before a '(' (empty when there is none)
    bool compared = false; // the call is the right operand of == or !=
};

struct Literal {
    std::string text;
    int line;
    std::size_t frameDepth;
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Resolves the escapes of an ordinary literal's body; a \u escape is written as UTF-8.
std::string unescape(std::string_view body) {
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c != '\\' || i + 1 >= body.size()) {
            out += c;
            continue;
        }
        const char e = body[++i];
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7': {
            int value = e - '0';
            for (int k = 0;
                 k < 2 && i + 1 < body.size() && body[i + 1] >= '0' && body[i + 1] <= '7'; ++k) {
                value = value * 8 + (body[++i] - '0');
            }
            out += static_cast<char>(value);
            break;
        }
        case 'x': {
            int value = 0;
            while (i + 1 < body.size() && hexValue(body[i + 1]) >= 0) {
                value = value * 16 + hexValue(body[++i]);
            }
            out += static_cast<char>(value);
            break;
        }
        default:
            out += e; // \" \' \\ \? and anything unknown stand for themselves
            break;
        }
    }
    return out;
}

} // namespace

bool SourceTexts::isTranslatingCall(std::string_view name) {
    return std::find(kTranslatingCalls.begin(), kTranslatingCalls.end(), name) !=
           kTranslatingCalls.end();
}

std::vector<SourceTexts::Text> SourceTexts::extract(std::string_view source,
                                                    const std::string& file, bool messages) {
    std::vector<Text> texts;
    std::vector<Frame> frames;
    int line = 1;
    // A literal is judged when the next token after it (and after literals joined to it) shows
    // up, so that "a" "b" becomes one text.
    bool pending = false;
    Literal literal;
    std::vector<Frame> pendingFrames;

    auto judge = [&]() {
        if (!pending) {
            return;
        }
        pending = false;
        if (literal.text.empty()) {
            return;
        }
        // Walk out of the wrappers to the call that receives the text.
        std::size_t depth = literal.frameDepth;
        // Where every message is a text the user sees, a literal made into a string with
        // QStringLiteral is one of them, wherever it goes (returned, kept, handed on), unless
        // it is only compared with.
        if (messages && depth > 0 && pendingFrames[depth - 1].open == '(' &&
            pendingFrames[depth - 1].name == "QStringLiteral") {
            if (!pendingFrames[depth - 1].compared) {
                texts.push_back({literal.text, file, literal.line});
            }
            return;
        }
        while (depth > 0) {
            const Frame& frame = pendingFrames[depth - 1];
            if (frame.open != '(') {
                return;
            }
            if (std::find(kWrappers.begin(), kWrappers.end(), frame.name) != kWrappers.end()) {
                --depth;
                continue;
            }
            if (isTranslatingCall(frame.name)) {
                texts.push_back({literal.text, file, literal.line});
            }
            return;
        }
    };

    // Whether the identifier that ends at `end` follows == or !=.
    auto afterComparison = [&](std::size_t end) {
        std::size_t i = end;
        while (i > 0 && isIdentifierChar(source[i - 1])) {
            --i;
        }
        while (i > 0 && (source[i - 1] == ' ' || source[i - 1] == '\t' || source[i - 1] == '\n' ||
                         source[i - 1] == '\r')) {
            --i;
        }
        return i >= 2 && source[i - 1] == '=' && (source[i - 2] == '=' || source[i - 2] == '!');
    };

    auto lastIdentifier = [&](std::size_t end) {
        std::size_t i = end;
        while (i > 0 && (source[i - 1] == ' ' || source[i - 1] == '\t' || source[i - 1] == '\n' ||
                         source[i - 1] == '\r')) {
            --i;
        }
        const std::size_t stop = i;
        while (i > 0 && isIdentifierChar(source[i - 1])) {
            --i;
        }
        return std::string(source.substr(i, stop - i));
    };

    std::size_t i = 0;
    while (i < source.size()) {
        const char c = source[i];
        if (c == '\n') {
            ++line;
            ++i;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '/' && i + 1 < source.size() && source[i + 1] == '/') {
            while (i < source.size() && source[i] != '\n') {
                ++i;
            }
            continue;
        }
        if (c == '/' && i + 1 < source.size() && source[i + 1] == '*') {
            i += 2;
            while (i + 1 < source.size() && !(source[i] == '*' && source[i + 1] == '/')) {
                line += source[i] == '\n' ? 1 : 0;
                ++i;
            }
            i += 2;
            continue;
        }
        if (c == '#') {
            // Preprocessor lines (#include <...>) hold no texts; continuation lines join.
            while (i < source.size() && source[i] != '\n') {
                if (source[i] == '\\' && i + 1 < source.size() && source[i + 1] == '\n') {
                    ++line;
                    ++i;
                }
                ++i;
            }
            continue;
        }
        if (c == '\'') {
            // A character literal, or a digit separator inside a number.
            if (i > 0 && std::isxdigit(static_cast<unsigned char>(source[i - 1])) != 0 &&
                i + 1 < source.size() &&
                std::isxdigit(static_cast<unsigned char>(source[i + 1])) != 0 &&
                !(i + 2 < source.size() && source[i + 2] == '\'')) {
                ++i;
                continue;
            }
            ++i;
            while (i < source.size() && source[i] != '\'' && source[i] != '\n') {
                i += source[i] == '\\' ? 2 : 1;
            }
            ++i;
            continue;
        }
        if (c == '"') {
            // Prefixes (u8, u, U, L) and raw literals (R"d(...)d").
            std::size_t start = i;
            while (start > 0 && isIdentifierChar(source[start - 1])) {
                --start;
            }
            const std::string_view prefix = source.substr(start, i - start);
            std::string body;
            const int startLine = line;
            if (!prefix.empty() && prefix.back() == 'R') {
                const std::size_t open = source.find('(', i + 1);
                if (open == std::string_view::npos) {
                    break;
                }
                const std::string closing =
                    ")" + std::string(source.substr(i + 1, open - i - 1)) + "\"";
                const std::size_t end = source.find(closing, open + 1);
                if (end == std::string_view::npos) {
                    break;
                }
                body = std::string(source.substr(open + 1, end - open - 1));
                line += static_cast<int>(std::count(body.begin(), body.end(), '\n'));
                i = end + closing.size();
            } else {
                std::size_t j = i + 1;
                while (j < source.size() && source[j] != '"' && source[j] != '\n') {
                    j += source[j] == '\\' ? 2 : 1;
                }
                body = unescape(source.substr(i + 1, std::min(j, source.size()) - i - 1));
                i = j + 1;
            }
            if (pending) {
                literal.text += body; // adjacent literals make one text
            } else {
                pending = true;
                literal = Literal{body, startLine, frames.size()};
                pendingFrames = frames;
            }
            continue;
        }
        if (isIdentifierChar(c)) {
            std::size_t j = i;
            while (j < source.size() && isIdentifierChar(source[j])) {
                ++j;
            }
            // An identifier directly followed by a quote is a literal's prefix.
            if (j < source.size() && source[j] == '"') {
                const std::string_view word = source.substr(i, j - i);
                if (word == "u8" || word == "u" || word == "U" || word == "L" || word == "R" ||
                    word == "u8R" || word == "uR" || word == "UR" || word == "LR") {
                    i = j;
                    continue;
                }
            }
            judge();
            i = j;
            continue;
        }
        judge();
        if (c == '(' || c == '{' || c == '[') {
            std::string name = c == '(' ? lastIdentifier(i) : std::string();
            bool compared = false;
            if (!name.empty()) {
                std::size_t end = i;
                while (end > 0 && !isIdentifierChar(source[end - 1])) {
                    --end;
                }
                compared = afterComparison(end);
            }
            frames.push_back({c, std::move(name), compared});
        } else if (c == ')' || c == '}' || c == ']') {
            if (!frames.empty()) {
                frames.pop_back();
            }
        }
        ++i;
    }
    judge();
    return texts;
}

std::vector<SourceTexts::Text>
SourceTexts::collect(const std::filesystem::path& folder,
                     const std::vector<std::string>& skipFolders,
                     const std::vector<std::string>& messageFolders) {
    std::vector<std::filesystem::path> files;
    for (auto it = std::filesystem::recursive_directory_iterator(folder);
         it != std::filesystem::recursive_directory_iterator(); ++it) {
        if (it->is_directory() && std::find(skipFolders.begin(), skipFolders.end(),
                                            it->path().filename().string()) != skipFolders.end()) {
            it.disable_recursion_pending();
            continue;
        }
        const std::string extension = it->path().extension().string();
        if (it->is_regular_file() && (extension == ".cpp" || extension == ".h")) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());

    std::map<std::string, Text> unique;
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        const std::string name = std::filesystem::relative(path, folder).generic_string();
        const std::string top = name.substr(0, name.find('/'));
        const bool messages =
            name.find('/') != std::string::npos &&
            std::find(messageFolders.begin(), messageFolders.end(), top) != messageFolders.end();
        for (Text& text : extract(content.str(), name, messages)) {
            unique.emplace(text.english, std::move(text));
        }
    }
    std::vector<Text> texts;
    for (auto& [english, text] : unique) {
        texts.push_back(std::move(text));
    }
    return texts;
}

std::vector<SourceTexts::Text>
SourceTexts::programTexts(const std::filesystem::path& sourceFolder) {
    return collect(sourceFolder, {"cli", "emulator"}, {"forms"});
}

} // namespace kestrava
