#include "platform/qt/shortcut_keys.h"

#include <QChar>
#include <string_view>

namespace vivarix {

namespace {

constexpr quint32 keycodeOfKey1 = 10;  // the main row: 1 .. 9 at 10 .. 18, 0 at 19
constexpr quint32 keycodeOfKey0 = 19;

// The letter the US layout has on the key with this XKB keycode, or 0.
char usLetterAt(quint32 keycode) {
    struct Row {
        quint32 first;
        std::string_view letters;
    };
    static constexpr Row rows[] = {{24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};
    for (const Row& row : rows)
        if (keycode >= row.first && keycode - row.first < row.letters.size()) return row.letters[keycode - row.first];
    return 0;
}

char latinLetter(int key) {
    return key >= Qt::Key_A && key <= Qt::Key_Z ? static_cast<char>('A' + (key - Qt::Key_A)) : 0;
}

}  // namespace

char shortcutKey(const QKeyEvent& press) {
    if (press.modifiers() != Qt::NoModifier) return 0;
    const int key = press.key();
    const quint32 keycode = press.nativeScanCode();
    if (keycode == 0) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<char>('0' + (key - Qt::Key_0));
        return latinLetter(key);
    }
    if (keycode >= keycodeOfKey1 && keycode <= keycodeOfKey0)
        return keycode == keycodeOfKey0 ? '0' : static_cast<char>('1' + (keycode - keycodeOfKey1));
    if (const char letter = latinLetter(key)) return letter;
    // Qt names a letter of another script by its upper-case code point.
    if (key > 0x10FFFF) return 0;
    const auto codePoint = static_cast<char32_t>(key);
    const bool otherScript = QChar::isLetter(codePoint) && QChar::script(codePoint) != QChar::Script_Latin;
    return otherScript ? usLetterAt(keycode) : 0;
}

}  // namespace vivarix
