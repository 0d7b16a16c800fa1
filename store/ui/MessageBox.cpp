#include "ui/MessageBox.h"

#include <iostream>

namespace quillet {

namespace {

std::shared_ptr<MessageBoxService>& installed() {
    static std::shared_ptr<MessageBoxService> service;
    return service;
}

}  // namespace

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    const std::string caption = title.empty() ? std::string(kApplicationTitle) : title;
    if (const auto& service = installed()) {
        return service->show(prompt, buttons, caption);
    }
    std::cerr << caption << ": " << prompt << '\n';
    return vbOK;
}

std::shared_ptr<MessageBoxService> installMessageBoxService(
    std::shared_ptr<MessageBoxService> service) {
    std::swap(installed(), service);
    return service;
}

}  // namespace quillet
