#include "controls/PropertyBag.h"

#include <algorithm>

namespace tb {

void PropertyBag::WriteProperty(std::string_view name, PropertyValue value,
                                PropertyValue defaultValue) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const auto& e) { return e.first == name; });
    if (it != entries_.end()) entries_.erase(it);
    if (value == defaultValue) return;
    entries_.emplace_back(std::string(name), value);
}

bool PropertyBag::contains(std::string_view name) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const auto& e) { return e.first == name; });
}

PropertyValue PropertyBag::ReadProperty(std::string_view name, PropertyValue defaultValue) const {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const auto& e) { return e.first == name; });
    if (it == entries_.end()) return defaultValue;
    const PropertyValue& v = it->second;
    if (v.index() == defaultValue.index()) return v;
    if (std::holds_alternative<std::int32_t>(defaultValue) && std::holds_alternative<bool>(v))
        return std::int32_t{std::get<bool>(v) ? -1 : 0};
    if (std::holds_alternative<bool>(defaultValue) && std::holds_alternative<std::int32_t>(v))
        return std::get<std::int32_t>(v) != 0;
    return defaultValue;
}

std::int32_t PropertyBag::readInt(std::string_view name, std::int32_t defaultValue) const {
    return std::get<std::int32_t>(ReadProperty(name, defaultValue));
}

bool PropertyBag::readBool(std::string_view name, bool defaultValue) const {
    return std::get<bool>(ReadProperty(name, defaultValue));
}

Picture PropertyBag::readPicture(std::string_view name, Picture defaultValue) const {
    return std::get<Picture>(ReadProperty(name, defaultValue));
}

}  // namespace tb
