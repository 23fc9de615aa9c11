#include "companions/AudioTagCore/TrackTags.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

TagString::TagString(TagString&& other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}

TagString::~TagString() {
    std::free(m_text);
}

TagString& TagString::operator=(const TagString& other) {
    assign(other.m_text);
    return *this;
}

TagString& TagString::operator=(TagString&& other) noexcept {
    if (this != &other) {
        std::free(std::exchange(m_text, std::exchange(other.m_text, nullptr)));
    }
    return *this;
}

TagString& TagString::operator=(const char* text) {
    assign(text);
    return *this;
}

TagString& TagString::operator=(const std::string& text) {
    assign(text);
    return *this;
}

void TagString::assign(const char* text) {
    assign(text, text != nullptr ? std::strlen(text) : 0);
}

void TagString::assign(const std::string& text) {
    assign(text.c_str());
}

void TagString::assign(const char* text, size_t length) {
    length = text != nullptr ? strnlen(text, length) : 0;
    char* copy = nullptr;
    if (length > 0) {
        // The copy is made before the old text goes: text may point into it.
        copy = static_cast<char*>(std::malloc(length + 1));
        if (copy == nullptr) {
            throw std::bad_alloc();
        }
        std::memcpy(copy, text, length);
        copy[length] = '\0';
    }
    std::free(std::exchange(m_text, copy));
}

size_t TagString::size() const {
    return m_text != nullptr ? std::strlen(m_text) : 0;
}

bool TagString::operator==(const char* text) const {
    return std::strcmp(c_str(), text != nullptr ? text : "") == 0;
}
