#pragma once

#include <QStringList>

#include <functional>

namespace tavolen::platform {
class SettingsStore;
}

namespace tavolen {

// The process-wide settings store. The spec-level helpers (L, API) are
// stateless namespaces, so they reach the store through here; the app installs
// the INI store at start-up and tests install their own.
platform::SettingsStore &settings();
// Non-owning; the store must outlive every use. nullptr restores the default
// (an in-memory store, so nothing touches the user's file by accident).
void installSettings(platform::SettingsStore *store);

// The user's ordered preferred interface languages (BCP 47 tags).
QStringList preferredLanguages();
// Replaces the system's list, for tests; an empty function restores it.
void installLanguageSource(std::function<QStringList()> source);

} // namespace tavolen
