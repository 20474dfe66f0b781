#pragma once

#include <memory>
#include <string>

namespace kit {

class Image;

// The system image named `name`, drawn by the kit at every resolution; nullptr for a name it has not.
std::shared_ptr<Image> systemImageNamed(const std::string& name);

}  // namespace kit
