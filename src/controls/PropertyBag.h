// A control's stored design: the named properties a form keeps with its layout. A value equal
// to its default is not stored, and a name that is missing reads as its default.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/Types.h"

namespace tb {

// A picture property: artwork owned elsewhere (the program's pictures live for its lifetime);
// nullptr is "no picture".
using Picture = const Image*;
using PropertyValue = std::variant<std::int32_t, bool, Picture>;

class PropertyBag {
public:
    void WriteProperty(std::string_view name, PropertyValue value, PropertyValue defaultValue);
    // Numbers and yes/no convert into each other as stored designs allow (True is -1); a
    // picture never stands for a number, nor a number for a picture.
    PropertyValue ReadProperty(std::string_view name, PropertyValue defaultValue) const;
    std::int32_t readInt(std::string_view name, std::int32_t defaultValue) const;
    bool readBool(std::string_view name, bool defaultValue) const;
    Picture readPicture(std::string_view name, Picture defaultValue) const;

    bool contains(std::string_view name) const;
    // The stored properties in the order they were written.
    const std::vector<std::pair<std::string, PropertyValue>>& entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace tb
