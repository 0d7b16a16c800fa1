// quillet-serial-writer COUNT GO-FILE: saves COUNT records of every family that numbers its rows
// with a serial into the embedded store of $XDG_DATA_HOME, as fast as it can. Used by the
// several-writers test, which starts two of these at once. It waits until GO-FILE exists before
// it starts, so two of them can be released together. Exit status 0 only when every save
// succeeded and no message other than a save's own confirmation was shown.
#include <unistd.h>

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

/// Counts the confirmations and passes any other message on to stderr as a failure.
class CheckedMessages : public quillet::MessageBoxService {
public:
    int show(const std::string& prompt, int, const std::string&) override {
        if (prompt != "Saved" && prompt != "Status Updated") {
            std::fprintf(stderr, "unexpected message: %s\n", prompt.c_str());
            ++failures;
        }
        return quillet::vbOK;
    }
    int failures = 0;
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

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 2 ? std::atoi(argv[1]) : 0;
    if (count <= 0) {
        std::fprintf(stderr, "usage: quillet-serial-writer COUNT GO-FILE\n");
        return 64;
    }
    auto messages = std::make_shared<CheckedMessages>();
    quillet::installMessageBoxService(messages);
    // Released together with the other writer: when the test creates GO-FILE.
    while (!std::filesystem::exists(argv[2])) {
        ::usleep(1000);
    }
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
    return failures + messages->failures == 0 ? 0 : 1;
}
