#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Builds one JSON value on one line. Commas between members and elements are placed by the writer.
class JsonWriter {
  public:
    JsonWriter& BeginObject() { return Open('{'); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray() { return Open('['); }
    JsonWriter& EndArray() { return Close(']'); }

    JsonWriter& Key(std::string_view key) {
        Separate();
        AppendString(key);
        out_ += ':';
        afterKey_ = true;
        return *this;
    }
    JsonWriter& Value(std::string_view text) {
        Separate();
        AppendString(text);
        return *this;
    }
    JsonWriter& Value(const char* text) { return Value(std::string_view(text)); }
    JsonWriter& Value(std::int64_t number) {
        Separate();
        out_ += std::to_string(number);
        return *this;
    }
    JsonWriter& Value(bool flag) {
        Separate();
        out_ += flag ? "true" : "false";
        return *this;
    }
    template <typename T>
    JsonWriter& Member(std::string_view key, T value) {
        Key(key);
        return Value(value);
    }

    const std::string& Text() const { return out_; }

  private:
    JsonWriter& Open(char bracket) {
        Separate();
        out_ += bracket;
        first_ = true;
        return *this;
    }
    JsonWriter& Close(char bracket) {
        out_ += bracket;
        first_ = false;
        return *this;
    }
    void Separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (!first_ && !out_.empty()) {
            out_ += ',';
        }
        first_ = false;
    }
    void AppendString(std::string_view text) {
        out_ += '"';
        for (const char c : text) {
            switch (c) {
                case '"':
                    out_ += "\\\"";
                    break;
                case '\\':
                    out_ += "\\\\";
                    break;
                case '\n':
                    out_ += "\\n";
                    break;
                case '\r':
                    out_ += "\\r";
                    break;
                case '\t':
                    out_ += "\\t";
                    break;
                default:
                    if (static_cast<unsigned char>(c) < 0x20) {
                        static constexpr char kHex[] = "0123456789abcdef";
                        out_ += "\\u00";
                        out_ += kHex[(c >> 4) & 0xF];
                        out_ += kHex[c & 0xF];
                    } else {
                        out_ += c;
                    }
            }
        }
        out_ += '"';
    }

    std::string out_;
    bool first_ = true;
    bool afterKey_ = false;
};

}  // namespace qv
