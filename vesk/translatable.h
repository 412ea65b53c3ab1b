#pragma once

// Marks a text the user reads. The layers below the editor's window never translate anything:
// they hold the Japanese text, and the window looks it up in the interface language's
// translations when it shows it. The first argument names the translation context (always
// "orv" here); Qt's lupdate reads these markers as QT_TRANSLATE_NOOP (see
// scripts/update-translations.sh), so the markers need nothing of Qt.

// An 8-bit (UTF-8) text.
#define ORV_TR_NOOP(context, text) text
// The same text as UTF-16: the literal stays plain so that lupdate can read it.
#define ORV_TR_NOOP16(context, text) u"" text
