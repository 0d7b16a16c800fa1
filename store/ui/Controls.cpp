#include "ui/Controls.h"

namespace quillet {

RuntimeError objectNotSet() {
    return {91, "Object variable or With block variable not set"};
}

void setText(const Object& control, const Variant& value) {
    if (!control) {
        throw objectNotSet();
    }
    control->setProperty("Text", value);
}

void setValue(const Object& control, const Variant& value) {
    if (!control) {
        throw objectNotSet();
    }
    control->setProperty("Value", value);
}

Variant getText(const Object& control) {
    if (!control) {
        throw objectNotSet();
    }
    return control->getProperty("Text");
}

}  // namespace quillet
