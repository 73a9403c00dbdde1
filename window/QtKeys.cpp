#include "QtKeys.h"

#include "reader/Navigation.h"

int VirtualKeyOf(const QKeyEvent& event) {
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    switch (event.key()) {
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Space:
        return vk::Space;
    case Qt::Key_PageUp:
        return vk::Prior;
    case Qt::Key_PageDown:
        return vk::Next;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_O:
        return vk::KeyO;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return keypad ? 0 : vk::OemPlus;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return keypad ? 0 : vk::OemMinus;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return vk::OemComma;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return vk::OemPeriod;
    default:
        return 0;
    }
}

int ChapterStepOf(const QKeyEvent& event) {
    const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    switch (event.key()) {
    case Qt::Key_BracketLeft:
        return ctrl ? 0 : -1;
    case Qt::Key_BracketRight:
        return ctrl ? 0 : +1;
    case Qt::Key_PageUp:
        return ctrl ? -1 : 0;
    case Qt::Key_PageDown:
        return ctrl ? +1 : 0;
    default:
        return 0;
    }
}
