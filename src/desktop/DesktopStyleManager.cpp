#include "desktop/DesktopStyleManager.h"

#include "app/AppState.h"
#include "core/Session.h"
#include "data/StyleState.h"
#include "engine/ClockTables.h"
#include "library/StyleManager.h"
#include "platform/Files.h"
#include "platform/Prompter.h"

namespace chordella::desktop {

namespace {

// "ballad.vxs               Met: 4/4  Beat: 72  Tracks: 8  slow" for the entry list.
std::string ShownEntry(const std::string& entry) {
    const library::StyleEntryParts parts = library::SplitStyleEntry(entry);
    std::string shown = entry.substr(0, std::min(entry.size(), library::EntryNameWidth)) + parts.Info;
    if (!parts.Description.empty()) shown += "  " + parts.Description;
    return shown;
}

}  // namespace

DesktopStyleManager::DesktopStyleManager(core::Session& session, app::AppState& app, StyleManagerTransport transport,
                                         core::StylePlaylistLink& playlist)
    : session_(session), app_(app),
      transport_(std::move(transport)),
      manager_(std::make_unique<library::StyleManager>(session.Prompter(), session.Paths(), playlist)),
      alive_(std::make_shared<DesktopStyleManager*>(this)) {}

DesktopStyleManager::~DesktopStyleManager() = default;

void DesktopStyleManager::Open() {
    opened_ = true;
    manager_->Open();
}

void DesktopStyleManager::AddLoadedStyle(const std::string& description) {
    const data::StyleState& style = session_.Style().style;
    library::LoadedStyle loaded;
    loaded.Loaded = style.StyleLoaded != 0 && !style.StylePath.empty();
    loaded.Path = style.StylePath;
    const int metrum = app_.clock.MetrumIndex;
    const std::string_view metrumText = metrum >= 0 && metrum < static_cast<int>(engine::MetrumTable.size())
                                            ? engine::MetrumTable[static_cast<std::size_t>(metrum)].Caption
                                            : std::string_view("?");
    loaded.Info = library::StyleInfoOf(style.Header, metrumText);
    manager_->AddOrEdit(loaded, description);
}

void DesktopStyleManager::LoadAndPlay(const std::string& path) {
    if (path.empty()) return;
    if (!platform::FileExists(path)) {
        session_.Prompter().Inform("Style not found !");
        return;
    }
    transport_.Stop();
    std::weak_ptr<DesktopStyleManager*> alive = alive_;
    transport_.Load(path, [alive](bool loaded) {
        const auto self = alive.lock();
        if (!loaded || !self) return;
        DesktopStyleManager& manager = **self;
        const data::StyleState& style = manager.session_.Style().style;
        if (style.Parts[static_cast<std::size_t>(data::Index(data::StylePart::Basic))].Present())
            manager.transport_.PlayBasic();
    });
}

void DesktopStyleManager::Handle(const StyleManagerRequest& request) {
    if (!opened_) Open();
    library::StyleManager& m = *manager_;
    switch (request.Action) {
        case StyleManagerAction::ShowGroup: m.ShowGroup(request.Index); break;
        case StyleManagerAction::SelectEntry: m.SelectEntry(request.Index); break;
        case StyleManagerAction::AddOrEdit: AddLoadedStyle(request.Text); break;
        case StyleManagerAction::Remove: m.RemoveSelected(); break;
        case StyleManagerAction::RemoveAll: m.RemoveAll(); break;
        case StyleManagerAction::MoveEntry: m.MoveEntry(request.Index, request.To); break;
        case StyleManagerAction::SetFolder: m.SetFolder(request.Text); break;
        case StyleManagerAction::SetMask: m.SetMask(request.Text); break;
        case StyleManagerAction::SelectFile: m.SelectFile(request.Index); break;
        case StyleManagerAction::LoadEntry: {
            if (m.SelectedEntry() < 0) break;
            const std::string found = m.ResolvedPath(m.SelectedPath());
            if (found.empty()) {
                session_.Prompter().Inform("Style not found !");
            } else {
                transport_.Load(found, [](bool) {});
            }
            break;
        }
        case StyleManagerAction::LoadFile: {
            const std::string path = m.Browser().PathOf(m.SelectedFile());
            if (!path.empty()) transport_.Load(path, [](bool) {});
            break;
        }
        case StyleManagerAction::Play: LoadAndPlay(m.PlayPath()); break;
        case StyleManagerAction::Stop: transport_.Stop(); break;
        case StyleManagerAction::AddListed: m.AddListedToPlaylist(); break;
        case StyleManagerAction::ShowPlaylist: m.ShowPlaylist(); break;
        case StyleManagerAction::SetRandom: m.SetRandom(request.On); break;
        case StyleManagerAction::DropFile: {
            if (request.Text.empty()) break;
            std::weak_ptr<DesktopStyleManager*> alive = alive_;
            transport_.Load(request.Text, [alive, row = request.Index](bool loaded) {
                const auto self = alive.lock();
                if (!loaded || !self) return;
                if (row >= 0) (*self)->manager_->SelectEntry(row);
                (*self)->AddLoadedStyle({});
            });
            break;
        }
    }
}

StyleManagerView DesktopStyleManager::View(std::uint64_t shownSerial) const {
    const library::StyleManager& m = *manager_;
    StyleManagerView view;
    view.Serial = m.Serial();
    if (view.Serial == shownSerial) {
        view.Unchanged = true;
        return view;
    }
    view.Group = m.Group();
    for (const auto& entry : m.Entries()) {
        view.Entries.push_back(ShownEntry(entry));
        view.EntryPaths.push_back(library::SplitStyleEntry(entry).Path);
    }
    view.SelectedEntry = m.SelectedEntry();
    view.Info = m.SelectedInfo();
    view.Description = m.SelectedDescription();
    const library::StyleFileBrowser& files = m.Browser();
    view.Folder = files.Folder();
    view.SubFolders = files.SubFolders();
    view.Files = files.Files();
    view.SelectedFile = m.SelectedFile();
    view.Mask = files.Mask();
    view.MaskHint = files.MaskHint();
    view.CountText = files.CountText();
    view.Random = m.RandomTicked();
    return view;
}

composer::StyleListKind DesktopStyleManager::Kind() const {
    return manager_->RandomFromFiles() ? composer::StyleListKind::StyleManagerFiles
                                    : composer::StyleListKind::StyleManagerGroup;
}

std::vector<std::string> DesktopStyleManager::Entries() const {
    return manager_->RandomSource();
}

int DesktopStyleManager::SelectedIndex() const {
    return manager_->RandomFromFiles() ? manager_->SelectedFile() : manager_->SelectedEntry();
}

void DesktopStyleManager::ShowChosen(int index) { manager_->ShowChosen(index); }

}  // namespace chordella::desktop
