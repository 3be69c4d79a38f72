#include "addin/windows/options_dialog.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "addin/windows/folder_browse_dialog.h"
#include "addin/windows/indent_example_window.h"
#include "addin/windows/qt_path.h"
#include "addin/windows/qt_text.h"
#include "addin/windows/text_input_dialog.h"

namespace scrivlet {

namespace {

QString text(const char* latin1) { return QString::fromLatin1(latin1); }

QPushButton* button(const char* name, const char* caption, QWidget* parent,
                    const char* tooltip = nullptr) {
  auto* b = new QPushButton(text(caption), parent);
  b->setObjectName(text(name));
  if (tooltip) b->setToolTip(text(tooltip));
  b->setAutoDefault(false);
  return b;
}

QRadioButton* option(const char* name, const char* caption, const char* tooltip,
                     QWidget* parent) {
  auto* b = new QRadioButton(text(caption), parent);
  b->setObjectName(text(name));
  b->setToolTip(text(tooltip));
  return b;
}

// The "..." button beside a folder box: as high as the box, no wider than
// its text needs.
QPushButton* browseButton(const char* name, QWidget* parent) {
  QPushButton* b = button(name, "...", parent);
  b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("...")) +
                   24);
  return b;
}

}  // namespace

OptionsDialog::OptionsDialog(OptionsModel& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      tabs_(new QTabWidget(this)),
      browse_(new FolderBrowseDialog(this)),
      textInput_(new TextInputDialog(this)),
      indentExample_(new IndentExampleWindow(this)) {
  setWindowTitle(QStringLiteral("Options"));
  runModal = [](QDialog& dialog) { return dialog.exec(); };
  chooseImportFile = [this] {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Import"),
                                        QString(),
                                        QStringLiteral("Scrivlet project "
                                                       "(*.scriv)"));
  };
  open = [](const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  };

  tabs_->setObjectName(QStringLiteral("tabs"));
  tabs_->addTab(compilePage(), QStringLiteral("Compile"));
  tabs_->setTabToolTip(0, QStringLiteral("Compile options"));
  tabs_->addTab(commentPage(), QStringLiteral("Comment"));
  tabs_->setTabToolTip(
      1, QStringLiteral("Select the fields or tags that will be automatically "
                        "added to comment when using \"Add Scrivlet\" command "
                        "from pop-up menu."));
  tabs_->addTab(outputPage(), QStringLiteral("Output"));
  tabs_->setTabToolTip(2, QStringLiteral("Set output path and format"));
  tabs_->addTab(miscellaneousPage(), QStringLiteral("Miscellanous"));
  tabs_->setTabToolTip(3, QStringLiteral("Indent mode and title page text"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  addButtons(layout);
  // Room for the module list and the template description to be read.
  resize(sizeHint().expandedTo(QSize(720, 500)));

  // The next tab, and the first after the last.
  auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  nextTab->setContext(Qt::WidgetWithChildrenShortcut);
  connect(nextTab, &QShortcut::activated, this, &OptionsDialog::nextTab);

  connect(browse_, &FolderBrowseDialog::SelectionChanged, this,
          [this](const QString& folder) {
            // BrowseDlg_SelectionChanged: the second line follows the tree.
            if (browse_->model().ShowPrompt2)
              browse_->model().Prompt2 = toPath(folder);
          });
}

OptionsDialog::~OptionsDialog() = default;

QCheckBox* OptionsDialog::flag(const char* key, const char* caption,
                               const char* tooltip,
                               bool ProjectSettings::*field) {
  auto* box = new QCheckBox(text(caption), this);
  box->setObjectName(text(key));
  box->setToolTip(text(tooltip));
  flags_.push_back(Flag{box, field});
  connect(box, &QCheckBox::toggled, this,
          [this, field](bool on) { model_.working().*field = on; });
  return box;
}

QWidget* OptionsDialog::compilePage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("compileTab"));

  auto* modules = new QGroupBox(QStringLiteral("Modules"), page);
  auto* modulesLayout = new QVBoxLayout(modules);
  modulesLayout->addWidget(
      new QLabel(QStringLiteral("Select the modules to document."), modules));
  projectLabel_ = new QLabel(QStringLiteral("No project opened"), modules);
  projectLabel_->setObjectName(QStringLiteral("projectLabel"));
  QFont bold = projectLabel_->font();
  bold.setBold(true);
  projectLabel_->setFont(bold);
  modulesLayout->addWidget(projectLabel_);
  modules_ = new QListWidget(modules);
  modules_->setObjectName(QStringLiteral("moduleList"));
  modulesLayout->addWidget(modules_, 1);
  connect(
      modules_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (showing_) return;
        model_.setModuleChecked(static_cast<std::size_t>(modules_->row(item)),
                                item->checkState() == Qt::Checked);
      });
  auto* selection = new QHBoxLayout;
  QPushButton* all = button("selectAllButton", "Select All", modules);
  QPushButton* none = button("deselectAllButton", "Deselect All", modules);
  connect(all, &QPushButton::clicked, this, [this] {
    model_.selectAll();
    showModules();
  });
  connect(none, &QPushButton::clicked, this, [this] {
    model_.deselectAll();
    showModules();
  });
  selection->addWidget(all);
  selection->addWidget(none);
  selection->addStretch();
  modulesLayout->addLayout(selection);

  using P = ProjectSettings;
  auto* what = new QGroupBox(QStringLiteral("What To Compile"), page);
  auto* grid = new QGridLayout(what);
  grid->setColumnStretch(2, 1);
  int row = 0;
  for (QCheckBox* box :
       {flag("comNonCommented", "Non-commented",
             "Compile also members that are not commented using special "
             "Scrivlet comments",
             &P::comNonCommented),
        flag("comPublic", "Public", "Compile public members", &P::comPublic),
        flag("comPrivate", "Private", "Compile private members",
             &P::comPrivate),
        flag("comFriend", "Friend", "Compile friend members", &P::comFriend)})
    grid->addWidget(box, row++, 0);
  row = 0;
  for (QCheckBox* box :
       {flag("comObject", "Classes", "Compile topics for objects (classes)",
             &P::comObject),
        flag("comForm", "Forms", "Compile topics for forms", &P::comForm),
        flag("comStdModule", "Standard Modules",
             "Compile topics for standard modules", &P::comStdModule)})
    grid->addWidget(box, row++, 1);
  grid->setRowMinimumHeight(4, 8);
  row = 5;
  const std::vector<QCheckBox*> members{
      flag("comMethod", "Methods/Functions",
           "Compile topics for methods and functions", &P::comMethod),
      flag("comProperty", "Properties", "Compile topics for properties",
           &P::comProperty),
      flag("comEvent", "Events", "Compile topics for events", &P::comEvent),
      flag("comVariable", "Variables", "Compile topics for variables",
           &P::comVariable),
      flag("comConstant", "Constants", "Compile topics for constants",
           &P::comConstant)};
  for (std::size_t i = 0; i < members.size(); ++i)
    grid->addWidget(members[i], row + static_cast<int>(i / 2),
                    static_cast<int>(i % 2));
  row += 3;
  grid->setRowMinimumHeight(row++, 8);
  grid->addWidget(flag("comContextID", "Add Help Context IDs",
                       "Generate context sensitive help", &P::comContextID),
                  row++, 0, 1, 3);
  grid->addWidget(
      flag("comWriteDescription", "Write to \"Description\" attribute",
           "Automatically write member's description to hidden "
           "\"Description\" attribute (it will then appear in Properties and "
           "Object Browser)",
           &P::comWriteDescription),
      row++, 0, 1, 3);
  grid->setRowStretch(row, 1);

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(modules, 1);
  layout->addWidget(what, 1);
  return page;
}

QWidget* OptionsDialog::commentPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("commentTab"));
  auto* intro = new QLabel(
      QStringLiteral("Select the fields or tags that will be automatically "
                     "added to comment when using \"Add Scrivlet comment\" "
                     "command from pop-up menu. These options are only used "
                     "with methods/functions, properties and events."),
      page);
  intro->setWordWrap(true);

  using P = ProjectSettings;
  auto* tags = new QGroupBox(QStringLiteral("Tags/Fields"), page);
  auto* tagsLayout = new QVBoxLayout(tags);
  for (QCheckBox* box :
       {flag("addDescription", "Description, if any",
             "Add description extracted from description inserted in "
             "Tools->Procedure Attributes... menu",
             &P::addDescription),
        flag("addParam", "@param Tag", "Add parameters description",
             &P::addParam),
        flag("addReturn", "@return Tag", "Add description of return value",
             &P::addReturn),
        flag("addRem", "@rem Tag", "Add remarks", &P::addRem),
        flag("addSee", "@see Tag", "Add \"See Also\" list", &P::addSee),
        flag("addSame", "@same Tag",
             "The comment is the same as of another specified object",
             &P::addSame),
        flag("addAuthor", "@author Tag", "Add author name", &P::addAuthor),
        flag("addRevision", "@revision Tag", "Last revision", &P::addRevision),
        flag("addVersion", "@version Tag", "Version number", &P::addVersion),
        flag("addIncludeSource", "@includesource Tag",
             "Whether source code should be included", &P::addIncludeSource)})
    tagsLayout->addWidget(box);
  tagsLayout->addStretch();

  auto* user = new QGroupBox(QStringLiteral("User Tags"), page);
  auto* grid = new QGridLayout(user);
  for (int tag = 0; tag < 5; ++tag) {
    const QString number = QString::number(tag + 1);
    auto* check = new QCheckBox(QStringLiteral("@"), user);
    check->setObjectName(QStringLiteral("addUser") + number);
    check->setToolTip(QStringLiteral("User tag ") + number);
    connect(check, &QCheckBox::toggled, this, [this, tag](bool on) {
      model_.working().addUser[static_cast<std::size_t>(tag)] = on;
    });
    auto* name = new QLineEdit(user);
    name->setObjectName(QStringLiteral("user%1Name").arg(number));
    name->setToolTip(QStringLiteral("User defined name of the tag"));
    connect(name, &QLineEdit::textEdited, this,
            [this, tag](const QString& typed) {
              model_.working().userName[static_cast<std::size_t>(tag)] =
                  fromQString(typed, codePage());
            });
    connect(name, &QLineEdit::editingFinished, this, [this, tag, name] {
      model_.leaveTagName(tag);
      name->setText(
          toQString(model_.working().userName[static_cast<std::size_t>(tag)],
                    codePage()));
    });
    QPushButton* defaultText =
        button("", "Default text", user,
               "Text that automatically appears as tag value");
    defaultText->setObjectName(QStringLiteral("user%1Default").arg(number));
    connect(defaultText, &QPushButton::clicked, this,
            [this, tag] { editDefaultText(tag); });
    userFlags_[static_cast<std::size_t>(tag)] = check;
    userNames_[static_cast<std::size_t>(tag)] = name;
    grid->addWidget(check, tag, 0);
    grid->addWidget(name, tag, 1);
    grid->addWidget(defaultText, tag, 2);
  }
  QPushButton* import = button("importButton", "Import", user,
                               "Import tags from another Scrivlet project");
  connect(import, &QPushButton::clicked, this, &OptionsDialog::importTags);
  grid->addWidget(import, 5, 2);
  grid->setRowStretch(6, 1);
  grid->setColumnStretch(1, 1);

  auto* columns = new QHBoxLayout;
  columns->addWidget(tags, 2);
  columns->addWidget(user, 3);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(intro);
  layout->addLayout(columns, 1);
  return page;
}

QWidget* OptionsDialog::outputPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("outputTab"));

  auto* templ = new QGroupBox(QStringLiteral("Template"), page);
  auto* grid = new QGridLayout(templ);
  grid->addWidget(new QLabel(QStringLiteral("Templates Folder"), templ), 0, 0);
  templateFolder_ = new QLineEdit(templ);
  templateFolder_->setObjectName(QStringLiteral("templateFolder"));
  grid->addWidget(templateFolder_, 0, 1);
  QPushButton* browseTemplates = browseButton("templateFolderBrowse", templ);
  grid->addWidget(browseTemplates, 0, 2);
  templates_ = new QListWidget(templ);
  templates_->setObjectName(QStringLiteral("templateList"));
  grid->addWidget(templates_, 1, 0, 1, 3);
  description_ = new QPlainTextEdit(templ);
  description_->setObjectName(QStringLiteral("templateDescription"));
  description_->setReadOnly(true);
  grid->addWidget(description_, 2, 0, 1, 3);
  grid->setRowStretch(1, 1);
  grid->setRowStretch(2, 1);
  connect(templateFolder_, &QLineEdit::textEdited, this,
          [this](const QString& typed) {
            model_.setTemplateFolder(toPath(typed));
          });
  connect(templateFolder_, &QLineEdit::editingFinished, this, [this] {
    model_.leaveTemplateFolder();
    showTemplates();
  });
  connect(templates_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (showing_ || row < 0) return;
    model_.selectTemplate(row);
    description_->setPlainText(
        toQString(model_.templateDescription(), codePage()));
  });
  connect(browseTemplates, &QPushButton::clicked, this,
          &OptionsDialog::browseTemplates);

  auto* output = new QGroupBox(QStringLiteral("Output Folder"), page);
  auto* row = new QHBoxLayout(output);
  outputPath_ = new QLineEdit(output);
  outputPath_->setObjectName(QStringLiteral("outputPath"));
  row->addWidget(outputPath_);
  QPushButton* browseOutput = browseButton("outputFolderBrowse", output);
  row->addWidget(browseOutput);
  connect(
      outputPath_, &QLineEdit::textEdited, this,
      [this](const QString& typed) { model_.setOutputPath(toPath(typed)); });
  connect(browseOutput, &QPushButton::clicked, this,
          &OptionsDialog::browseOutput);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(templ, 1);
  layout->addWidget(output);
  return page;
}

QWidget* OptionsDialog::miscellaneousPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("miscellaneousTab"));

  auto* source = new QGroupBox(
      QStringLiteral("Include source code in documentation"), page);
  auto* sourceLayout = new QVBoxLayout(source);
  sourceAlways_ = option("sourceAlways", "Always",
                         "Include source code for every member", source);
  sourceNever_ = option("sourceNever", "Never",
                        "Don't include source code for any member", source);
  sourceByTag_ =
      option("sourceByTag", "According to @includesource tag",
             "Include source code only for members with @includesource yes tag",
             source);
  for (auto [radio, value] :
       {std::pair{sourceAlways_, OptionsModel::sourceAlways},
        std::pair{sourceNever_, OptionsModel::sourceNever},
        std::pair{sourceByTag_, OptionsModel::sourceByTag}}) {
    sourceLayout->addWidget(radio);
    connect(radio, &QRadioButton::toggled, this, [this, value](bool on) {
      if (on) model_.setSourceOption(value);
    });
  }
  sourceLayout->addStretch();

  auto* indent = new QGroupBox(QStringLiteral("Comment indent mode"), page);
  auto* indentLayout = new QVBoxLayout(indent);
  keepIndent_ = option("keepIndent", "Don't ignore indent",
                       "Keep leading whitespaces of each comment line", indent);
  ignoreIndent_ =
      option("ignoreIndent", "Ignore indent",
             "Remove leading whitespaces or first quote, if any", indent);
  connect(keepIndent_, &QRadioButton::toggled, this,
          [this](bool on) { model_.setIndentMode(on ? 0 : 1); });
  indentLayout->addWidget(keepIndent_);
  indentLayout->addWidget(ignoreIndent_);
  QPushButton* example = button("showExampleButton", "Show Example", indent,
                                "Show how the output will look");
  connect(example, &QPushButton::clicked, this, &OptionsDialog::showExample);
  auto* exampleRow = new QHBoxLayout;
  exampleRow->addWidget(example);
  exampleRow->addStretch();
  indentLayout->addLayout(exampleRow);
  indentLayout->addStretch();

  auto* title = new QLabel(
      QStringLiteral(
          "Title page text (do not insert title, it is added automatically)"),
      page);
  titlePage_ = new QPlainTextEdit(page);
  titlePage_->setObjectName(QStringLiteral("titlePageText"));
  titlePage_->setToolTip(QStringLiteral("Title page text"));
  title->setBuddy(titlePage_);
  connect(titlePage_, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_)
      model_.working().titlePageText =
          fromQString(titlePage_->toPlainText(), codePage());
  });

  auto* options = new QHBoxLayout;
  options->addWidget(source, 1);
  options->addWidget(indent, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(options);
  layout->addWidget(title);
  layout->addWidget(titlePage_, 1);
  return page;
}

void OptionsDialog::addButtons(QLayout* layout) {
  help_ = button("helpButton", "Help", this);
  compile_ = button("compileButton", "Compile", this);
  compileGroup_ = button("compileGroupButton", "Compile Group", this);
  apply_ = button("applyButton", "Apply", this);
  cancel_ = button("cancelButton", "Cancel", this);
  ok_ = button("okButton", "OK", this);
  ok_->setDefault(true);

  connect(help_, &QPushButton::clicked, this, [this] {
    // A manual that cannot be opened is not worth a message here.
    open(fromPath(model_.helpFile()));
  });
  connect(compile_, &QPushButton::clicked, this, [this] {
    model_.compile(false);
    accept();
  });
  connect(compileGroup_, &QPushButton::clicked, this, [this] {
    model_.compile(true);
    accept();
  });
  connect(apply_, &QPushButton::clicked, this, [this] {
    model_.apply();
    // Applying cleaned the tag names of a box that still has the focus.
    showUserTags();
  });
  connect(ok_, &QPushButton::clicked, this, [this] {
    model_.apply();
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(help_);
  row->addSpacing(16);
  row->addWidget(compile_);
  row->addWidget(compileGroup_);
  row->addStretch();
  row->addWidget(ok_);
  row->addWidget(cancel_);
  row->addWidget(apply_);
  static_cast<QBoxLayout*>(layout)->addLayout(row);
}

void OptionsDialog::fillValues() {
  model_.fillValues();
  showValues();
}

void OptionsDialog::showValues() {
  showing_ = true;
  const ProjectSettings& w = model_.working();
  for (const Flag& f : flags_) f.box->setChecked(w.*(f.field));
  projectLabel_->setText(QString::fromStdString(model_.projectLabel()));
  showModules();
  showUserTags();
  outputPath_->setText(fromPath(w.outputPath));
  templateFolder_->setText(fromPath(w.templateFolder));
  showTemplates();
  description_->setPlainText(
      toQString(model_.templateDescription(), codePage()));
  (model_.indentMode() == 1 ? ignoreIndent_ : keepIndent_)->setChecked(true);
  switch (model_.sourceOption()) {
    case OptionsModel::sourceAlways:
      sourceAlways_->setChecked(true);
      break;
    case OptionsModel::sourceByTag:
      sourceByTag_->setChecked(true);
      break;
    default:
      sourceNever_->setChecked(true);
  }
  titlePage_->setPlainText(toQString(w.titlePageText, codePage()));
  showEnabled();
  showing_ = false;
}

void OptionsDialog::showModules() {
  const bool wasShowing = showing_;
  showing_ = true;
  modules_->clear();
  for (const OptionsModel::ModuleItem& item : model_.modules()) {
    auto* row = new QListWidgetItem(QString::fromStdString(item.name));
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                  Qt::ItemIsUserCheckable);
    row->setCheckState(item.checked ? Qt::Checked : Qt::Unchecked);
    modules_->addItem(row);
  }
  showing_ = wasShowing;
}

void OptionsDialog::showUserTags() {
  for (std::size_t tag = 0; tag < 5; ++tag) {
    QSignalBlocker quiet(userFlags_[tag]);
    userFlags_[tag]->setChecked(model_.working().addUser[tag]);
    userNames_[tag]->setText(
        toQString(model_.working().userName[tag], codePage()));
  }
}

void OptionsDialog::showTemplates() {
  const bool wasShowing = showing_;
  showing_ = true;
  templates_->clear();
  for (const std::string& name : model_.templateFiles())
    templates_->addItem(fromPath(name));
  templates_->setCurrentRow(model_.selectedTemplate());
  description_->setPlainText(
      toQString(model_.templateDescription(), codePage()));
  showing_ = wasShowing;
}

void OptionsDialog::showEnabled() {
  const bool enabled = model_.controlsEnabled();
  for (int i = 0; i < tabs_->count(); ++i)
    tabs_->widget(i)->setEnabled(enabled);
  for (QPushButton* b : {compile_, apply_, ok_}) b->setEnabled(enabled);
  compileGroup_->setEnabled(enabled && model_.compileGroupEnabled());
}

void OptionsDialog::editDefaultText(int tag) {
  std::string& value =
      model_.working().userDefault[static_cast<std::size_t>(tag)];
  textInput_->userText = toQString(value, codePage());
  textInput_->load();
  runModal(*textInput_);
  value = fromQString(textInput_->userText, codePage());
}

void OptionsDialog::importTags() {
  QString path = chooseImportFile();
  if (path.isEmpty()) return;
  if (model_.importUserTags(toPath(path)) == 0) showUserTags();
}

QString OptionsDialog::browseForFolder(const QString& prompt,
                                       const QString& start) {
  FolderBrowseModel& browse = browse_->model();
  browse_->setOwner(this);
  browse.Prompt1 = toPath(prompt);
  browse.RootFolder =
      FolderBrowseModel::FolderString(FolderBrowseModel::desktop);
  browse.PreSelectedFolder = toPath(start);
  browse.ShowPrompt2 = true;
  browse_->prepare();
  runModal(*browse_);
  return browse.confirmed() ? fromPath(browse.SelectedFolder) : QString();
}

void OptionsDialog::browseOutput() {
  QString folder = browseForFolder(QStringLiteral("Specify the output folder"),
                                   outputPath_->text());
  if (folder.isEmpty()) return;
  model_.outputFolderChosen(toPath(folder));
  outputPath_->setText(folder);
}

void OptionsDialog::browseTemplates() {
  QString folder = browseForFolder(
      QStringLiteral("Specify the templates folder"), templateFolder_->text());
  if (folder.isEmpty()) return;
  model_.templatesFolderChosen(toPath(folder));
  templateFolder_->setText(folder);
  showTemplates();
}

void OptionsDialog::showExample() {
  indentExample_->indentMode = keepIndent_->isChecked() ? 0 : 1;
  indentExample_->showTexts();
  runModal(*indentExample_);
}

void OptionsDialog::nextTab() {
  tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
}

}  // namespace scrivlet
