// The process-wide interface language id: 2052 (simplified Chinese) or 1033
// (English); other values only come from a hand-edited settings file.
// Any thread may read it (the worker reloads pages); the user-interface
// thread sets it.
#pragma once

int CurrentLanguageId();
void SetCurrentLanguageId(int id);

// The user's default interface language mapped to the two the program
// offers: 2052 stays 2052, anything else becomes 1033.
int DefaultInterfaceLanguage();

// The start-up rule: the stored "LCID"; when nothing is stored (0), the
// default interface language, which is then stored. Sets and returns
// CurrentLanguageId.
int SettleLanguageAtStart();
