#pragma once

// The user's files for the window tests: kept in memory, with writes that fail where a test
// says, the data folder "/data/clearmark" and a fixed date; and the file dialogs answered
// from a script. Installed for the test's life; no test touches the real files.
#include "runtime/filedialog.h"
#include "runtime/platform/storage.h"
#include "runtime/print.h"

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace clearmark::testing_support {

class MemoryStorage final : public platform::Storage {
public:
    MemoryStorage() : previous_(platform::setStorage(this)) {}
    ~MemoryStorage() override { platform::setStorage(previous_); }
    MemoryStorage(const MemoryStorage&) = delete;
    MemoryStorage& operator=(const MemoryStorage&) = delete;

    std::map<std::string, std::string> files;
    std::set<std::string> failingWrites; // paths whose writes fail, leaving the file as it was
    std::set<std::string> failingMoves;  // paths that cannot be moved aside
    std::string date = "2026-12-09";
    std::string caveat; // where the data may be lost: "" as on the desktops
    int writes = 0;     // writes attempted

    std::variant<std::string, platform::FileFailure> read(const std::string& path,
                                                          std::size_t limit) override {
        const auto found = files.find(path);
        if (found == files.end())
            return platform::FileFailure{"No such file or directory"};
        return found->second.substr(0, limit + 1);
    }
    std::optional<platform::FileFailure> write(const std::string& path,
                                               std::string_view bytes) override {
        ++writes;
        if (failingWrites.contains(path))
            return platform::FileFailure{"No space left on device"};
        files[path] = std::string(bytes);
        return std::nullopt;
    }
    std::optional<platform::FileFailure> moveAside(const std::string& from,
                                                   const std::string& to) override {
        if (failingMoves.contains(from))
            return platform::FileFailure{"Permission denied"};
        if (!files.contains(from) || files.contains(to))
            return platform::FileFailure{"No such file or directory"};
        files[to] = std::move(files[from]);
        files.erase(from);
        return std::nullopt;
    }
    bool exists(const std::string& path) override { return files.contains(path); }
    std::variant<std::string, platform::FileFailure> dataFolder() override {
        return std::string("/data/clearmark");
    }
    std::string dataCaveat() override { return caveat; }
    std::string today() override { return date; }

private:
    platform::Storage* previous_;
};

// Answers every file dialog from a script (cancelled when the script is empty) and records it.
class ScriptedFileDialogs {
public:
    ScriptedFileDialogs()
        : previous_(runtime::setFileDialogPresenter([this](const runtime::FileDialogRequest& r) {
              asked.push_back(r);
              if (answers.empty())
                  return std::optional<std::string>();
              auto answer = std::move(answers.front());
              answers.pop_front();
              return answer;
          })) {}
    ~ScriptedFileDialogs() { runtime::setFileDialogPresenter(std::move(previous_)); }
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    void answerNext(std::optional<std::string> path) { answers.push_back(std::move(path)); }
    std::vector<runtime::FileDialogRequest> asked;
    std::deque<std::optional<std::string>> answers;

private:
    runtime::FileDialogPresenter previous_;
};

// Stands for the print dialog and the printer: answers each print from a script (cancelled when
// the script is empty), lays the page out for its paper when it prints, and records both.
class ScriptedPrinter {
public:
    ScriptedPrinter()
        : previous_(runtime::setPrintPresenter(
              [this](const std::string& document, const runtime::PageLayout& layout) {
                  documents.push_back(document);
                  runtime::PrintResult answer;
                  if (!answers.empty()) {
                      answer = answers.front();
                      answers.pop_front();
                  }
                  if (answer.outcome == runtime::PrintOutcome::Printed)
                      pages.push_back(layout(paper));
                  return answer;
              })) {}
    ~ScriptedPrinter() { runtime::setPrintPresenter(std::move(previous_)); }
    ScriptedPrinter(const ScriptedPrinter&) = delete;
    ScriptedPrinter& operator=(const ScriptedPrinter&) = delete;

    void answerNext(runtime::PrintResult result) { answers.push_back(std::move(result)); }
    runtime::PageArea paper = runtime::a4Paper();
    std::deque<runtime::PrintResult> answers;
    std::vector<std::string> documents; // one per print dialog shown
    std::vector<runtime::Page> pages;   // one per page printed

private:
    runtime::PrintPresenter previous_;
};

} // namespace clearmark::testing_support
