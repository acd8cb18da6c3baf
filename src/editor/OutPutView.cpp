// The editor window's controls and their wiring: language, arguments and reload interval on
// top, the appearance controls under them, the code editor in the middle, Cancel and Run at the
// bottom. Every control has a mnemonic, so the window can be worked from the keyboard.

#include <QBoxLayout>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizeGrip>

#include "colorpicker/ColorWell.h"
#include "editor/CodeEditorView.h"
#include "editor/EditorView.h"
#include "editor/OutPut.h"

namespace pellimo::editor {

namespace {

constexpr QSize kWindowSize(560, 420);
constexpr int kMargin = 10;
constexpr int kReloadFieldWidth = 60;

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QPushButton* button(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

void OutPut::loadView() {
  view_ = std::make_unique<EditorView>();
  EditorView* view = view_.get();

  LanguagePicker = new QComboBox(view);
  LanguagePicker->addItem(QStringLiteral("Shell"), 0);
  LanguagePicker->addItem(QStringLiteral("Ruby"), 1);
  LanguagePicker->addItem(QStringLiteral("Python"), 2);
  arguments = new QLineEdit(view);
  arguments->setPlaceholderText(tr("one,two"));
  reloadAfter = new QLineEdit(view);
  reloadAfter->setValidator(new QIntValidator(0, INT_MAX, reloadAfter));
  reloadAfter->setFixedWidth(kReloadFieldWidth);

  fontBtn = button(tr("&Font…"), view);
  fontColor = new colorpicker::ColorWell(view);
  backgroundBtn = button(tr("&Background…"), view);
  editor = new CodeEditorView(view);
  cancelBtn = button(tr("&Cancel"), view);
  runBtn = button(tr("&Run"), view);

  auto* script = new QHBoxLayout;
  script->addWidget(labelFor(tr("Lan&guage"), LanguagePicker, view));
  script->addWidget(LanguagePicker);
  script->addWidget(labelFor(tr("&Arguments"), arguments, view));
  script->addWidget(arguments, 1);
  script->addWidget(labelFor(tr("Re&load every"), reloadAfter, view));
  script->addWidget(reloadAfter);
  script->addWidget(new QLabel(tr("s"), view));

  // The script's title above the code editor, the widget's look beside it.
  auto* appearance = new QHBoxLayout;
  appearance->addWidget(labelFor(tr("&Script"), editor, view));
  appearance->addStretch(1);
  appearance->addWidget(fontBtn);
  appearance->addWidget(new QLabel(tr("Text colour"), view));
  appearance->addWidget(fontColor);
  appearance->addWidget(backgroundBtn);

  auto* actions = new QHBoxLayout;
  actions->addStretch(1);
  actions->addWidget(cancelBtn);
  actions->addWidget(runBtn);
  actions->addWidget(view->sizeGrip(), 0, Qt::AlignBottom | Qt::AlignRight);

  auto* layout = new QVBoxLayout(view);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addLayout(script);
  layout->addLayout(appearance);
  layout->addWidget(editor, 1);
  layout->addLayout(actions);
  view->resize(kWindowSize);

  connect(LanguagePicker, &QComboBox::activated, this, [this] { pickLanguage(LanguagePicker); });
  connect(runBtn, &QPushButton::clicked, this, [this] { runCode(runBtn); });
  connect(cancelBtn, &QPushButton::clicked, this, [this] { cancelEdit(cancelBtn); });
  connect(fontBtn, &QPushButton::clicked, this, [this] { pickFont(fontBtn); });
  connect(backgroundBtn, &QPushButton::clicked, this, [this] { showPicker(backgroundBtn); });
  fontColor->setTarget(this);
  fontColor->setAction(colorpicker::Action(&OutPut::chosenColor));
}

}  // namespace pellimo::editor
