#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace qv {

// Writes one JSON value on one line to a stream as it is built, through a buffer of fixed size,
// so that a document of any size costs no memory of its own. Commas between members and
// elements are placed by the writer. Strings must be UTF-8; control characters are escaped.
class JsonWriter {
  public:
    explicit JsonWriter(std::FILE* out) : out_(out) { buffer_.reserve(kBufferSize); }
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;
    ~JsonWriter() { Flush(); }

    // Ends the line of the value and hands everything to the stream.
    void EndLine() {
        Put('\n');
        Flush();
    }

    JsonWriter& BeginObject() { return Open('{'); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray() { return Open('['); }
    JsonWriter& EndArray() { return Close(']'); }

    JsonWriter& Key(std::string_view key) {
        Separate();
        WriteString(key);
        Put(':');
        afterKey_ = true;
        return *this;
    }
    JsonWriter& Value(std::string_view text) {
        Separate();
        WriteString(text);
        return *this;
    }
    JsonWriter& Value(const char* text) { return Value(std::string_view(text)); }
    JsonWriter& Value(std::int64_t number) {
        Separate();
        char digits[24];
        Put(std::string_view(digits, std::to_chars(digits, digits + sizeof digits, number).ptr));
        return *this;
    }
    JsonWriter& Null() {
        Separate();
        Put("null");
        return *this;
    }
    JsonWriter& Value(bool flag) {
        Separate();
        Put(flag ? "true" : "false");
        return *this;
    }
    template <typename T>
    JsonWriter& Member(std::string_view key, const T& value) {
        Key(key);
        return Value(value);
    }

  private:
    JsonWriter& Open(char bracket) {
        Separate();
        Put(bracket);
        first_ = true;
        return *this;
    }
    JsonWriter& Close(char bracket) {
        Put(bracket);
        first_ = false;
        return *this;
    }
    void Separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (!first_) {
            Put(',');
        }
        first_ = false;
    }
    void WriteString(std::string_view text) {
        Put('"');
        std::size_t plain = 0;  // start of the run of characters written as they are
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c >= 0x20 && c != '"' && c != '\\') {
                continue;
            }
            Put(text.substr(plain, i - plain));
            plain = i + 1;
            WriteEscape(c);
        }
        Put(text.substr(plain));
        Put('"');
    }
    void WriteEscape(unsigned char c) {
        switch (c) {
            case '"':
                Put("\\\"");
                break;
            case '\\':
                Put("\\\\");
                break;
            case '\n':
                Put("\\n");
                break;
            case '\r':
                Put("\\r");
                break;
            case '\t':
                Put("\\t");
                break;
            default:
                static constexpr char kHex[] = "0123456789abcdef";
                Put("\\u00");
                Put(kHex[c >> 4]);
                Put(kHex[c & 0xF]);
        }
    }
    void Put(char c) {
        buffer_ += c;
        if (buffer_.size() >= kBufferSize) {
            Flush();
        }
    }
    void Put(std::string_view text) {
        buffer_ += text;
        if (buffer_.size() >= kBufferSize) {
            Flush();
        }
    }
    void Flush() {
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
        buffer_.clear();
    }

    static constexpr std::size_t kBufferSize = 1 << 16;
    std::FILE* out_;
    std::string buffer_;
    bool first_ = true;
    bool afterKey_ = false;
};

}  // namespace qv
