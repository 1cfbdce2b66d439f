// The program's start on a given state folder, for tests that run several at once. Its
// message boxes go over its standard streams: a question is written as "ask: TEXT" and
// answered by a line "yes" or "no" (or by the end of the input, which answers no), any other
// box as "note: TEXT". Once started it writes "title: TITLE" and "members: N" and ends
// without the exit questions, as a program that is killed; its journal stays.
//
// Usage: recovery_claim_program STATE_FOLDER SETTINGS_FILE [DATA_FILE]
#include "app/CMorvikApp.h"
#include "app/CMorvikDlg.h"
#include "controls/Prompt.h"
#include "session/Session.h"

#include <QApplication>
#include <iostream>
#include <string>

namespace {

class StreamPrompt : public morvik::Prompt {
public:
    morvik::PromptAnswer showMessage(QWidget*, const morvik::Message& message,
                                     morvik::PromptButtons buttons) override {
        if (buttons == morvik::PromptButtons::Ok) {
            std::cout << "note: " << message.text << std::endl;
            return morvik::PromptAnswer::Ok;
        }
        std::cout << "ask: " << message.text << std::endl;
        std::string answer;
        std::getline(std::cin, answer);
        return answer == "yes" ? morvik::PromptAnswer::Yes : morvik::PromptAnswer::No;
    }
    std::optional<QString> openFileName(QWidget*, const morvik::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(QWidget*, const morvik::FileDialogRequest&) override {
        return std::nullopt;
    }
    bool choosePrinter(QWidget*, QPrinter&, int, int) override { return false; }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::cerr << "usage: recovery_claim_program STATE_FOLDER SETTINGS_FILE [DATA_FILE]\n";
        return 2;
    }
    StreamPrompt prompt;
    morvik::CMorvikApp program(prompt, std::filesystem::u8path(args.at(1).toStdString()));
    QStringList programArgs{args.at(0)};
    if (args.size() > 3)
        programArgs << args.at(3);
    morvik::CMorvikDlg& dialog = program.start(programArgs, {args.at(2), args.at(2)});
    std::cout << "title: " << dialog.windowTitle().toStdString() << "\n"
              << "members: " << dialog.session().memberCount() << std::endl;
    return 0;
}
