#pragma once
// Controls as a calling window hands them to the record-store class, without any window.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Recordset.h"
#include "runtime/Dispatch.h"
#include "ui/Controls.h"

namespace quillet::testing {

/// \brief A control with the properties it is made with ("Text", "Value"); setting a property
/// stores the value converted the way a text box converts it (a Null is refused with error 94).
class FakeControl : public Dispatch {
public:
    explicit FakeControl(std::vector<std::string> properties = {"Text"}, std::string text = {})
        : m_properties(std::move(properties)), m_text(std::move(text)) {}

    static std::shared_ptr<FakeControl> textBox(std::string text = {}) {
        return std::make_shared<FakeControl>(std::vector<std::string>{"Text"}, std::move(text));
    }
    static std::shared_ptr<FakeControl> datePicker() {
        return std::make_shared<FakeControl>(std::vector<std::string>{"Value"});
    }
    static std::shared_ptr<FakeControl> withoutProperties() {
        return std::make_shared<FakeControl>(std::vector<std::string>{});
    }

    Variant getProperty(const std::string& name) const override {
        if (!has(name)) {
            return Dispatch::getProperty(name);
        }
        return name == "Value" ? m_value : Variant(m_text);
    }
    void setProperty(const std::string& name, const Variant& value) override {
        if (!has(name)) {
            Dispatch::setProperty(name, value);
        }
        if (name == "Value") {
            if (!value.isNull()) {
                (void)value.toDate();  // a picker takes dates only
            }
            m_value = value;
        } else {
            m_text = value.toString();
        }
        ++m_sets;
    }

    const std::string& text() const { return m_text; }
    const Variant& value() const { return m_value; }
    int sets() const { return m_sets; }

private:
    bool has(const std::string& name) const {
        for (const auto& p : m_properties) {
            if (p == name) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> m_properties;
    std::string m_text;
    Variant m_value;
    int m_sets = 0;
};

/// A combo box's list.
class FakeList : public ListControl {
public:
    void Clear() override {
        items.clear();
        index = -1;
    }
    void AddItem(const std::string& item) override { items.push_back(item); }
    int ListCount() const override { return static_cast<int>(items.size()); }
    int ListIndex() const override { return index; }
    void setListIndex(int i) override {
        if (i < -1 || i >= ListCount()) {
            throw RuntimeError(380, "Invalid property value");
        }
        index = i;
    }
    std::vector<std::string> items;
    int index = -1;
};

/// A grid that keeps what it is bound to and the widths it is given.
class FakeGrid : public GridControl {
public:
    void setDataSource(std::shared_ptr<Recordset> recordset) override {
        source = std::move(recordset);
        widths.clear();
        formats.clear();
        ++bindings;
    }
    int columnCount() const override { return source ? source->FieldCount() : 0; }
    void setColumnWidth(int column, int twips) override {
        if (column < 0 || column >= columnCount()) {
            throw RuntimeError(9, "Subscript out of range");
        }
        widths[column] = twips;
    }
    void setColumnNumberFormat(int column, const std::string& format) override {
        if (column < 0 || column >= columnCount()) {
            throw RuntimeError(9, "Subscript out of range");
        }
        formats[column] = format;
    }
    std::shared_ptr<Recordset> source;
    std::map<int, int> widths;
    std::map<int, std::string> formats;
    int bindings = 0;
};

}  // namespace quillet::testing
