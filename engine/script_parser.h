#pragma once
// Splits one line of the engine's block syntax into at most 8 tokens and answers questions about
// them. TAB, "(", ")", "," and ";" separate tokens like spaces, except inside a quoted token,
// whose text is kept exactly as written (a quoted folder may hold any of them). Quoted tokens are
// text, never structure: a quoted "{" or "}" neither starts nor ends a block.
#include <array>
#include <cstdint>
#include <string>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class QOXParser : public QOXObject {
    QOX_CLASS(QOXParser)
public:
    static constexpr int kMaxTokens = 8;

    QOXParser(QOXObject* parent, const std::string& name);

    int ParseLine(const std::string& line);
    void Clear() { Last = -1; }
    bool IsEmpty() const { return Last == -1; }

    std::string GetToken(int index) const;
    bool TokenEquals(int index, const std::string& text) const;
    bool IsBlockStart(const std::string& keyword) const;
    bool IsAnyBlockStart() const;
    bool IsBlockEnd() const;

    int GetInt(int index) const;
    float GetFloat(int index) const;
    bool GetBool(int index) const;
    QXVector GetVector(int index) const;
    int GetPrefixedInt(int index, const std::string& prefix) const;
    std::uint8_t GetPrefixedByte(int index, const std::string& prefix) const;

    std::array<std::string, kMaxTokens> Tokens;
    std::array<bool, kMaxTokens> Quoted{}; // whether each token was written in double quotes
    int Last = -1;

private:
    void StoreToken(std::string token, bool quoted);
    bool IsBare(int index, const char* text) const;
};
