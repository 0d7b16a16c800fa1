// quillet-office-desk COMMAND...: a desk writing records as the program does, in a process of its
// own (its own driver manager, and the locale the environment gives it, as the window's toolkit
// takes it), into "det" or the embedded store of $XDG_DATA_HOME. Commands, run in order:
//   save NAME          a mail record whose subject is NAME (its trap reports nothing)
//   rename SN NAME     the person SN of PersonEmployed renamed NAME (its trap shows the failure)
//   wait FILE          waits until FILE exists, so that several desks can be released together
//   families COUNT     COUNT records of every family that numbers its rows with a serial, each
//                      from a fresh class, as fast as it can; any message but a save's own
//                      confirmation fails it
// Every message shown goes to stderr as "message: TEXT". Exit status: the number of commands
// that failed (a save that returned false, a rename that showed anything but its confirmation,
// any failed save of the families).
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "VekClass.h"
#include "runtime/RuntimeError.h"
#include "ui/MessageBox.h"

namespace {

using quillet::VekClass;

class MessagesToStderr : public quillet::MessageBoxService {
public:
    int show(const std::string& prompt, int, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", prompt.c_str());
        if (prompt != "Saved" && prompt != "UPDATED") {
            ++failures;
        }
        if (prompt != "Saved" && prompt != "Status Updated") {
            ++unconfirmed;
        }
        return quillet::vbOK;
    }
    int failures = 0;     ///< messages other than a save's or a rename's confirmation
    int unconfirmed = 0;  ///< messages other than a save's or a status update's confirmation
};

struct Family {
    const char* name;
    std::function<bool(VekClass&, const std::string& tag)> save;
};

std::vector<Family> families() {
    return {
        {"EmpDetail",
         [](VekClass& vek, const std::string& tag) {
             std::string cat = "Staff", name = "N " + tag, address = "A", city = "C", phone = "1";
             std::string mobile = "2", dob = "25/03/1970", service = tag, rem = "IN", mail = "m@x";
             std::string remark = "r", designation = "D", equipment = "E", project = "P";
             std::string sbu = "S", other = "O";
             return vek.SavePersonnel(cat, name, address, city, phone, mobile, dob, service, rem,
                                      mail, remark, designation, equipment, project, sbu, other, 1,
                                      "h", "EmpDetail");
         }},
        {"PersonEmployed",
         [](VekClass& vek, const std::string& tag) {
             std::string cat = "Guest", name = "N " + tag, address = "A", city = "C";
             std::string dob = "01/01/1980", remark = "r";
             return vek.SavePersonnelOLD(cat, name, address, city, "1", "2", dob, tag, "IN", "e",
                                         remark, "PersonEmployed");
         }},
        {"ManPower",
         [](VekClass& vek, const std::string& tag) {
             return vek.saveManpower(1, 3, "2024", "N " + tag, "D", tag, "E", "P", "ManPower");
         }},
        {"Visitor",
         [](VekClass& vek, const std::string& tag) {
             return vek.SaveVisitor("A", "B", "N " + tag, tag, "D", "E", "F", "G", "05/03/2024",
                                    "05/03/2024", "31/03/2024", "H", "98", "I", "J", "K", "WO",
                                    "01/02/2024", "31/12/2024", "Visitor");
         }},
        {"Cable",
         [](VekClass& vek, const std::string& tag) {
             vek.SaveCable("C " + tag, "d", "p", "b", "o", "s", "r", "Cable");
             return true;
         }},
        {"PARTNUMBER",
         [](VekClass& vek, const std::string& tag) {
             vek.SaveItem("I " + tag, "PN", "r", "PARTNUMBER");
             return true;
         }},
        {"StatusItem",
         [](VekClass& vek, const std::string& tag) {
             vek.SaveItemStatus("I", "PN", tag, "OK", "StatusItem");
             return true;
         }},
        {"CableStatus",
         [](VekClass& vek, const std::string& tag) {
             vek.UpdateStatus("CableNum", "C " + tag, "CableStatus", "OK");
             return true;
         }},
        {"MailRecord",
         [](VekClass& vek, const std::string& tag) {
             return vek.SaveMailRecord("F/1", "14/02/2024", "P", "S " + tag, "R", "IN", "O",
                                       "MailRecord");
         }},
        {"MedicalRecord",
         [](VekClass& vek, const std::string& tag) {
             // One forwarding date and one file number: both serials count every claim.
             return vek.SaveMedicalRecord("F/1", "14/02/2024", "0", "N " + tag, tag, "100", "", 50,
                                          "ok", "MedicalRecord");
         }},
    };
}

/// Saves count records of every family; whether all of them succeeded.
bool saveEveryFamily(int count, const MessagesToStderr& messages) {
    const int before = messages.unconfirmed;
    const std::string process = std::to_string(::getpid());
    int failures = 0;
    const std::vector<Family> all = families();
    for (int i = 0; i < count; ++i) {
        for (const Family& family : all) {
            const std::string tag = process + "-" + std::to_string(i);
            try {
                VekClass vek;
                if (!family.save(vek, tag)) {
                    std::fprintf(stderr, "%s: save %d failed: %s\n", family.name, i,
                                 vek.str.isNull() ? "" : vek.str.toString().c_str());
                    ++failures;
                }
            } catch (const quillet::RuntimeError& e) {
                std::fprintf(stderr, "%s: save %d raised: %s\n", family.name, i,
                             e.description().c_str());
                ++failures;
            }
        }
    }
    return failures == 0 && messages.unconfirmed == before;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const auto messages = std::make_shared<MessagesToStderr>();
    quillet::installMessageBoxService(messages);
    int failed = 0;
    {
        VekClass vek;
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
            } else if (command == "wait" && i + 1 < argc) {
                const std::filesystem::path go = argv[++i];
                while (!std::filesystem::exists(go)) {
                    ::usleep(1000);
                }
            } else if (command == "families" && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
                failed += saveEveryFamily(std::atoi(argv[++i]), *messages) ? 0 : 1;
            } else {
                std::fprintf(stderr,
                             "usage: quillet-office-desk [save NAME | rename SN NAME | wait FILE "
                             "| families COUNT]...\n");
                return 64;
            }
        }
    }
    return failed;
}
