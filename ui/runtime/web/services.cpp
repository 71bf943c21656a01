// The web implementation's application, box, clipboard, file dialog and printing. The browser
// cannot wait inside a handler: each answers through its callback once the page's script has
// the user's answer.
#include "runtime/implementation.h"
#include "runtime/web/dom.h"

#include <emscripten.h>

#include <cstdio>
#include <map>
#include <string>

// clang-format off
EM_JS(void, cm_js_start, (), { CM.start(); });
EM_JS(void, cm_js_ready, (), { CM.ready(); });
EM_JS(void, cm_js_ended, (), { CM.ended(); });
EM_JS(void, cm_js_msgBox, (int token, const char* text, const char* caption, const char* buttons,
                           int icon, int defaultIndex, int cancelIndex), {
    CM.msgBox(token, UTF8ToString(text), UTF8ToString(caption), UTF8ToString(buttons), icon,
              defaultIndex, cancelIndex);
});
EM_JS(void, cm_js_copy, (int token, const char* text), { CM.copy(token, UTF8ToString(text)); });
EM_JS(void, cm_js_pickFile, (int token, int save, const char* title, const char* filterName,
                             const char* extension, const char* suggested), {
    CM.pickFile(token, save, UTF8ToString(title), UTF8ToString(filterName),
                UTF8ToString(extension), UTF8ToString(suggested));
});
EM_JS(void, cm_js_printPage, (const char* json), { CM.printPage(UTF8ToString(json)); });
// clang-format on

namespace clearmark::runtime {
namespace {

// What follows each open box, clipboard request or file dialog, by its token.
template <class Then> std::map<int, Then>& waiting() {
    static std::map<int, Then> pending;
    return pending;
}

int nextToken() {
    static int token = 0;
    return ++token;
}

template <class Then> Then takeWaiting(int token) {
    auto& pending = waiting<Then>();
    const auto found = pending.find(token);
    if (found == pending.end())
        return {};
    Then then = std::move(found->second);
    pending.erase(found);
    return then;
}

using BoxThen = std::function<void(MsgAnswer)>;
using BoxAnswers = std::vector<MsgAnswer>;
std::map<int, BoxAnswers>& boxAnswers() {
    static std::map<int, BoxAnswers> answers;
    return answers;
}
using CopyThen = std::function<void(bool)>;
using PickThen = std::function<void(std::optional<std::string>)>;

std::vector<std::string>& arguments() {
    static std::vector<std::string> list;
    return list;
}

// A text for JSON, in quotes.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

} // namespace

void startApplication(int& argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        arguments().emplace_back(argv[i]);
    cm_js_start();
}

void finishApplication() {}

std::vector<std::string> programArguments() {
    return arguments();
}

int runEventLoop() {
    // The browser runs the loop: main returns to it and the program lives on in its handlers.
    cm_js_ready();
    emscripten_exit_with_live_runtime();
    return 0;
}

void quitEventLoop() {
    // Every window is gone; the page says that Clearmark has ended and offers a new start.
    cm_js_ended();
}

void showMsgBoxOnScreen(const MsgBoxRequest& request, const BoxThen& answered) {
    BoxAnswers answers;
    std::string labels;
    int cancelIndex = 0;
    switch (request.buttons) {
    case MsgButtons::OK:
        answers = {MsgAnswer::OK};
        labels = "OK";
        break;
    case MsgButtons::OKCancel:
        answers = {MsgAnswer::OK, MsgAnswer::Cancel};
        labels = "OK\nCancel";
        cancelIndex = 1;
        break;
    case MsgButtons::YesNoCancel:
        answers = {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
        labels = "Yes\nNo\nCancel";
        cancelIndex = 2;
        break;
    }
    const int token = nextToken();
    waiting<BoxThen>()[token] = answered;
    boxAnswers()[token] = answers;
    cm_js_msgBox(token, request.text.c_str(), request.caption.c_str(), labels.c_str(),
                 static_cast<int>(request.icon), 0, cancelIndex);
}

void setSystemClipboardText(std::string_view text, const CopyThen& done) {
    const int token = nextToken();
    waiting<CopyThen>()[token] = done;
    cm_js_copy(token, std::string(text).c_str());
}

void showFileDialogOnScreen(const FileDialogRequest& request, const PickThen& answered) {
    const int token = nextToken();
    waiting<PickThen>()[token] = answered;
    cm_js_pickFile(token, request.kind == FileDialogKind::Save ? 1 : 0, request.title.c_str(),
                   request.filterName.c_str(), request.extension.c_str(),
                   request.suggestedName.c_str());
}

// The area A4 and Letter share (210 x 279.4 mm), with the margins most printers keep, so that
// the page prints whole on either.
PageArea sharedPaper() {
    constexpr double width = 595.276; // 210 mm
    constexpr double height = 792;    // 279.4 mm
    constexpr double margin = 18;
    return {width, height, margin, margin, width - margin, height - margin};
}

void printOnScreen(const std::string& /*documentName*/, const PageLayout& layout,
                   const std::function<void(const PrintResult&)>& answered) {
    const Page page = layout(sharedPaper());
    std::string json = "{\"w\":" + number(page.area.width) + ",\"h\":" + number(page.area.height);
    json += ",\"fills\":[";
    for (std::size_t i = 0; i < page.fills.size(); ++i) {
        const PageFill& f = page.fills[i];
        json += (i ? ",[" : "[") + number(f.x) + "," + number(f.y) + "," + number(f.width) + "," +
                number(f.height) + "," + std::to_string(f.grey) + "]";
    }
    json += "],\"lines\":[";
    for (std::size_t i = 0; i < page.lines.size(); ++i) {
        const PageLine& l = page.lines[i];
        json += (i ? ",[" : "[") + number(l.x1) + "," + number(l.y1) + "," + number(l.x2) + "," +
                number(l.y2) + "," + number(l.width) + "]";
    }
    json += "],\"texts\":[";
    for (std::size_t i = 0; i < page.texts.size(); ++i) {
        const PageText& t = page.texts[i];
        json += (i ? ",[" : "[") + number(t.x) + "," + number(t.baseline) + "," + number(t.size) +
                "," + (t.bold ? "1" : "0") + "," + quoted(t.text) + "]";
    }
    json += "]}";
    // The browser's print dialog tells the page neither a print nor a cancel: the page was
    // handed to it.
    cm_js_printPage(json.c_str());
    answered(PrintResult{PrintOutcome::Printed, {}});
}

} // namespace clearmark::runtime

using namespace clearmark::runtime;

extern "C" {

EMSCRIPTEN_KEEPALIVE void cm_boxAnswered(int token, int index) {
    const BoxAnswers answers = boxAnswers()[token];
    boxAnswers().erase(token);
    if (auto then = takeWaiting<BoxThen>(token);
        then && index >= 0 && static_cast<std::size_t>(index) < answers.size())
        then(answers[static_cast<std::size_t>(index)]);
}

EMSCRIPTEN_KEEPALIVE void cm_copied(int token, int copied) {
    if (auto then = takeWaiting<CopyThen>(token))
        then(copied != 0);
}

EMSCRIPTEN_KEEPALIVE void cm_filePicked(int token, int picked, char* path) {
    std::string chosen = web::takeString(path);
    if (auto then = takeWaiting<PickThen>(token))
        then(picked != 0 ? std::optional<std::string>(std::move(chosen)) : std::nullopt);
}
}

extern "C" EMSCRIPTEN_KEEPALIVE void cm_fileWriteFailed(char* path, char* reason) {
    // The browser writes a picked file after the program has gone on: a failure is told then.
    const std::string name = web::takeString(path);
    const std::string why = web::takeString(reason);
    msgBox("The job was not saved to " + name.substr(name.rfind('/') + 1) + ": " + why +
               ". Save it again under another name.",
           MsgButtons::OK, MsgIcon::Exclamation);
}
