#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace qv::testing {

class ScopedEnvironment {
  public:
    void Set(const char* name, const std::string& value) {
        Keep(name);
        ::setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name) {
        Keep(name);
        ::unsetenv(name);
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

  private:
    void Keep(const char* name) {
        if (!saved_.contains(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
    }

    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace qv::testing
