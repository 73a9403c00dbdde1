#pragma once
// How strictly line breaking keeps punctuation off line starts and ends (标点避头尾); the
// setting "标点避头尾" stores the number. Off breaks wherever a plain text box would.
enum class PunctuationRule { Off = 0, Basic = 1, Strict = 2 };
