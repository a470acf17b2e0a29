// "Load From File" and "Save To File": the window's side of the hex file exchange. The file
// format itself lives in hexfile/; here are the checks, the choosers and the reports.
#include "FilePart.h"

#include "ChipRequest.h"
#include "ConfigurationPart.h"
#include "ControlFactory.h"
#include "FileWatch.h"
#include "MainStatusBar.h"
#include "RecentFiles.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"
#include "hexfile/HexReader.h"
#include "hexfile/HexWriter.h"
#include "ops/Messages.h"
#include "settings/DesktopSettings.h"
#include "settings/PrivateProfile.h"
#include "settings/TolmSettings.h"
#include "settings/WorkingDir.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QToolButton>

namespace {

const QString kOpenFilter = QStringLiteral("IHX8M Files (*.hex);;All Files (*)");
const QString kSaveFilter = QStringLiteral("IHX8M Files (*.hex)");

} // namespace

FilePart::FilePart(const Parts &parts, Hooks hooks, QObject *parent)
    : QObject(parent), m_parts(parts), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("FilePart"));
    LoadFromFileBtn = GlyphButton("LoadFromFileBtn", QStringLiteral("Load From File"),
                                  QStringLiteral("load-file"));
    SaveToFileBtn =
        GlyphButton("SaveToFileBtn", QStringLiteral("Save To File"), QStringLiteral("save-file"));
    // The recent files hang on the Load button's arrow; the button itself still opens the
    // chooser.
    RecentFilesMenu = Named(new QMenu(LoadFromFileBtn), "RecentFilesMenu");
    RecentFilesMenu->setToolTipsVisible(true);
    LoadFromFileBtn->setMenu(RecentFilesMenu);
    LoadFromFileBtn->setPopupMode(QToolButton::MenuButtonPopup);
    LoadFromFileBtn->setFixedWidth(LoadFromFileBtn->sizeHint().width());
    connect(LoadFromFileBtn, &QToolButton::clicked, this, &FilePart::LoadFromFileBtnClick);
    connect(SaveToFileBtn, &QToolButton::clicked, this, &FilePart::SaveToFileBtnClick);

    const QString settings = TolmSettings::SettingsFilePath();
    m_recentFiles = std::make_unique<RecentFiles>(settings);
    m_reloadAtOnce = PrivateProfile(settings).ReadString(DesktopSettings::kFilesSection,
                                                         DesktopSettings::kReloadAtOnceKey,
                                                         QString()) == QLatin1String("1");
    m_fileWatch = new FileWatch(this);
    connect(m_fileWatch, &FileWatch::Changed, this, &FilePart::FileChangedOnDisk);
    connect(&m_parts.statusBar, &MainStatusBar::ReloadClicked, this, &FilePart::ReloadChangedFile);
    connect(RecentFilesMenu, &QMenu::aboutToShow, this, &FilePart::FillRecentFilesMenu);
    FillRecentFilesMenu();
}

FilePart::~FilePart() = default;

QList<QWidget *> FilePart::Buttons() const
{
    return {LoadFromFileBtn, SaveToFileBtn};
}

void FilePart::SetDialogDirectories(const QString &workingDir)
{
    // A working directory the user has just changed is where the choosers start again, even
    // after a file elsewhere was loaded.
    if (DialogDirectory(workingDir) != m_openDialogDirectory)
        m_fileFolder.clear();
    m_openDialogDirectory = DialogDirectory(workingDir);
    m_saveDialogDirectory = DialogDirectory(workingDir);
}

QString FilePart::DialogStartFolder(const QString &workingDir) const
{
    return m_fileFolder.isEmpty() ? workingDir : m_fileFolder;
}

void FilePart::LoadFromFileBtnClick()
{
    if (RefusedDuringChipWork(QStringLiteral("Load From File")) ||
        m_parts.request.NoTargetSelected())
        return;
    const QString fileName =
        m_parts.messages.OpenFileName(DialogStartFolder(m_openDialogDirectory), kOpenFilter);
    if (fileName.isEmpty())
        return;
    LoadNamedFile(fileName, LoadReport::Boxes);
}

void FilePart::BlankTargets(const HexTargets &targets)
{
    MemoryImage &image = m_parts.image;
    if (targets.Program)
        image.FillProgramImage(BlankWordText(m_parts.device));
    if (targets.Data)
        image.FillDataImage(QStringLiteral("FF"));
    if (targets.IDCode)
        image.IDCodeText = QStringLiteral("FFFF");
    if (targets.Config) {
        image.ConfigWord = BlankWord(m_parts.device);
        m_parts.config.ShowDirectValue(image.ConfigWord);
        m_parts.config.ConfigToControls();
    }
}

void FilePart::LoadNamedFile(const QString &fileName, LoadReport report)
{
    // The file replaces the ticked memories whole: what an earlier file (or another device's
    // file) left in them must not go to the next chip. A file that cannot be read leaves the
    // image as it was.
    const HexTargets targets = m_parts.request.CheckedTargets();
    const QFileInfo file(fileName);
    if (file.isFile() && file.isReadable())
        BlankTargets(targets);
    const HexLoadResult result = LoadHexFile(fileName, m_parts.image, m_parts.device, targets);
    if (result.ConfigFound) {
        m_parts.config.ShowDirectText(result.ConfigEditText);
        m_parts.config.ConfigToControls();
    }
    // The caption names the file from here on, whatever the outcome of reading it.
    emit FileNamed(fileName);
    Messages &messages = m_parts.messages;
    if (!result.FileError.isEmpty()) {
        messages.Error(result.FileError);
        return;
    }
    RememberFile(fileName);
    // Missing records, a reading cut short by a damaged line and records the device has no
    // place for are all warnings, each on a line of its own: the image may lack words the
    // user expects to program.
    if (result.IsWarning())
        messages.Warning(result.Report);
    else if (report == LoadReport::Boxes &&
             (!m_hooks.confirmSuccesses || m_hooks.confirmSuccesses()))
        messages.Information(result.Report);
    else
        emit StatusText(QStringLiteral("%1: %2").arg(file.fileName(), result.Report));
}

void FilePart::SaveToFileBtnClick()
{
    if (RefusedDuringChipWork(QStringLiteral("Save To File")) || m_parts.request.NoTargetSelected())
        return;
    const HexAddressTexts addresses = m_parts.request.AddressTexts();
    if (!ParseAddressRanges(addresses)) {
        m_parts.messages.Plain(QString::fromLatin1(kAddressErrorText));
        return;
    }
    const QString fileName =
        m_parts.messages.SaveFileName(DialogStartFolder(m_saveDialogDirectory), kSaveFilter);
    if (fileName.isEmpty())
        return;

    const HexTargets targets = m_parts.request.CheckedTargets();
    // The file holds the word the controls show, not the direct-access field.
    if (targets.Config)
        m_parts.config.ControlsToConfig();
    // A byte still being typed in the data editor belongs in the file as shown.
    if (m_hooks.completeTypedByte)
        m_hooks.completeTypedByte();
    const HexSaveResult result =
        SaveHexFile(fileName, m_parts.image, m_parts.device, targets, addresses);
    emit FileNamed(fileName);
    if (!result.Ok())
        m_parts.messages.Error(result.Message);
    else
        RememberFile(fileName);
}
