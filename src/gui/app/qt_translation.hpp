// Qt's own texts in the program's language: the standard buttons of message
// boxes (Yes, No, OK, Cancel) and the file dialogs, which the language texts
// name ("press Yes") and which Qt captions itself.
#pragma once

#include <QString>
#include <memory>

class QTranslator;

namespace cps::gui {

class QtTranslation {
 public:
  QtTranslation();
  ~QtTranslation();
  QtTranslation(const QtTranslation&) = delete;
  QtTranslation& operator=(const QtTranslation&) = delete;

  // Puts the translation of `language` (1 English, 2 Chinese) in place of the
  // one before. English is Qt's own language and needs none. False when the
  // language needs a translation that is not installed: Qt then speaks English.
  bool follow(int language);
  bool active() const { return m_translator != nullptr; }

  // Where Qt's translation of its own texts into `language` is looked for.
  static QString fileOf(int language);

 private:
  std::unique_ptr<QTranslator> m_translator;
};

}  // namespace cps::gui
