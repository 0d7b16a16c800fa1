// quillet-office-desk COMMAND...: a desk writing records into "det" as the program does, in a
// process of its own (its own driver manager, and the locale the environment gives it, as the
// window's toolkit takes it). Commands, run in order:
//   save NAME          a mail record whose subject is NAME (its trap reports nothing)
//   rename SN NAME     the person SN of PersonEmployed renamed NAME (its trap shows the failure)
// Every message shown goes to stderr as "message: TEXT". Exit status: the number of commands
// that failed (a save that returned false, a rename that showed anything but its confirmation).
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "VekClass.h"
#include "ui/MessageBox.h"

namespace {

class MessagesToStderr : public quillet::MessageBoxService {
public:
    int show(const std::string& prompt, int, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", prompt.c_str());
        if (prompt != "Saved" && prompt != "UPDATED") {
            ++failures;
        }
        return quillet::vbOK;
    }
    int failures = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const auto messages = std::make_shared<MessagesToStderr>();
    quillet::installMessageBoxService(messages);
    int failed = 0;
    {
        quillet::VekClass vek;
        for (int i = 1; i < argc; ++i) {
            const std::string command = argv[i];
            if (command == "save" && i + 1 < argc) {
                const std::string subject = argv[++i];
                failed += vek.SaveMailRecord("F/1", "14/02/2024", "Desk", subject, "", "IN", "",
                                             "MailRecord")
                              ? 0
                              : 1;
            } else if (command == "rename" && i + 2 < argc) {
                const std::string serial = argv[++i];
                const std::string name = argv[++i];
                std::string dob = "01/01/1980";
                const int before = messages->failures;
                vek.UpdateInTime(serial, "Guest", name, "A", "C", "1", "2", dob, "S", "IN", "e",
                                 "r", "PersonEmployed");
                failed += messages->failures != before ? 1 : 0;
            } else {
                std::fprintf(stderr,
                             "usage: quillet-office-desk [save NAME | rename SN NAME]...\n");
                return 64;
            }
        }
    }
    return failed;
}
