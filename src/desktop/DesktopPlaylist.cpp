#include "desktop/DesktopPlaylist.h"

#include <algorithm>
#include <filesystem>

#include "app/AppState.h"
#include "app/PlaylistStyleList.h"
#include "app/SongCreator.h"
#include "core/Options.h"
#include "core/Session.h"
#include "library/SongStyles.h"
#include "library/StylePlaylist.h"
#include "platform/Files.h"
#include "platform/Prompter.h"
#include "platform/TextCase.h"

namespace chordella::desktop {

DesktopPlaylist::DesktopPlaylist(core::Session& session, app::AppState& app, app::SongCreator& creator)
    : session_(session), app_(app),
      creator_(creator),
      playlist_(std::make_unique<library::StylePlaylist>(session.Paths())),
      randomSource_(std::make_unique<app::PlaylistStyleList>(*playlist_)) {}

DesktopPlaylist::~DesktopPlaylist() { SetRandom(false); }

void DesktopPlaylist::Open() {
    std::string error;
    if (!playlist_->OpenCurrent({}, error)) {
        session_.Prompter().Inform(error + " !");
        return;  // not opened: the exit must not write the empty list over the damaged file
    }
    opened_ = true;
    core::Options& options = app_.options;
    // The offered styles are all shown: the stored search would show only the few it matches.
    if (OfferHomeStyles()) options.StyleSearchText = "*;";
    if (!playlist_->OpenFavorites(error)) session_.Prompter().Inform(error + " !");
    options.StylePlaylistFile = playlist_->List(library::StyleListKind::Playlist).File;
    if (!playlist_->Search(options.StyleSearchText, false, false).Ok) playlist_->Search("*;", false, false);
    const int count = static_cast<int>(playlist_->List(library::StyleListKind::SearchResult).Lines.size());
    if (options.StyleSearchIndex >= 0 && options.StyleSearchIndex < count) playlist_->Selected = options.StyleSearchIndex;
}

bool DesktopPlaylist::OfferHomeStyles() {
    const library::StyleList& list = playlist_->List(library::StyleListKind::Playlist);
    if (!list.Lines.empty() || platform::FileExists(list.File)) return false;
    // A first start (or a playlist deleted): the styles of the data home's styles folder
    // (the bundled ones on a first start) make the list, so that the window offers them.
    std::vector<std::string> styles;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(session_.Paths().Styles(), error)) {
        const std::string extension = platform::LowerCase(entry.path().extension().string());
        if (extension == ".vxs" && entry.is_regular_file(error)) styles.push_back(entry.path().string());
    }
    std::sort(styles.begin(), styles.end());
    return !styles.empty() && playlist_->AddStyles(styles, "", nullptr) > 0;
}

void DesktopPlaylist::Save() {
    if (!opened_) return;
    std::string error;
    if (!playlist_->SavePlaylist({}, error)) session_.Prompter().Inform(error + " !");
    app_.options.StyleSearchIndex = playlist_->Selected;
}

int DesktopPlaylist::AppendStyles(const std::vector<std::string>& paths, const std::string& description,
                                  std::string& error) {
    std::vector<std::string> skipped;
    const int added = playlist_->AddStyles(paths, description, &skipped);
    if (added == 0 && !skipped.empty()) error = "No style could be added to the Style-Playlist: " + skipped.front() + " !";
    return added;
}

void DesktopPlaylist::NoteLoaded(const std::string& file) {
    std::erase(recent_, file);
    recent_.insert(recent_.begin(), file);
    if (recent_.size() > RecentStyles) recent_.resize(RecentStyles);
}

void DesktopPlaylist::SetRandom(bool on) {
    playlist_->RandomTicked = on;
    creator_.SetStyleList(on ? randomSource_.get() : nullptr);
}

}  // namespace chordella::desktop

namespace chordella::desktop {

namespace {

library::StyleListKind KindOf(PlaylistListChoice choice) {
    switch (choice) {
        case PlaylistListChoice::Playlist: return library::StyleListKind::Playlist;
        case PlaylistListChoice::SearchResult: return library::StyleListKind::SearchResult;
        case PlaylistListChoice::Favorites: return library::StyleListKind::Favorites;
    }
    return library::StyleListKind::Playlist;
}

}  // namespace

PlaylistView DesktopPlaylist::View() const {
    PlaylistView view;
    view.Caption = playlist_->Caption();
    view.Lines = playlist_->List(library::StyleListKind::SearchResult).Lines;
    view.Found = static_cast<int>(view.Lines.size());
    view.Selected = playlist_->Selected;
    view.Random = playlist_->RandomTicked;
    view.Next = playlist_->NextTicked;
    view.Find = playlist_->FindTicked;
    view.Recent = recent_;
    return view;
}

std::optional<std::string> DesktopPlaylist::FileAt(int index) const {
    const auto& lines = playlist_->List(library::StyleListKind::SearchResult).Lines;
    if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) return std::nullopt;
    return playlist_->FileOf(lines[static_cast<std::size_t>(index)]);
}

std::string DesktopPlaylist::Export(const PlaylistRequest& request, PlaylistView& view) {
    std::string error;
    view.ExportedFile = playlist_->ExportForEditor(KindOf(request.List), error);
    return view.ExportedFile.empty() ? error + " !" : std::string{};
}

std::string DesktopPlaylist::Maintain(const PlaylistRequest& request) {
    using A = PlaylistAction;
    library::StylePlaylist& p = *playlist_;
    const library::StyleListKind kind = KindOf(request.List);
    switch (request.Action) {
        case A::RemoveCorrupted:
            return p.RemoveEntries(library::StyleListKind::Playlist, library::RemovalKind::Corrupted).Message;
        case A::RemoveWithoutBass:
            return p.RemoveEntries(library::StyleListKind::Playlist, library::RemovalKind::WithoutBass).Message;
        case A::RemoveNotFound: return p.RemoveEntries(kind, library::RemovalKind::NotFound).Message;
        case A::DeleteDuplicates: return p.DeleteDuplicates(kind).Message;
        case A::DeleteEntry: {
            if (kind != library::StyleListKind::Favorites) {
                p.DeleteEntry(kind, request.Index);
                return {};
            }
            // The favourites' entry of the line shown at Index (the window shows one list).
            const auto& shown = p.List(library::StyleListKind::SearchResult).Lines;
            if (request.Index < 0 || static_cast<std::size_t>(request.Index) >= shown.size()) return {};
            const auto& favorites = p.List(library::StyleListKind::Favorites).Lines;
            const auto at = std::find(favorites.begin(), favorites.end(), shown[static_cast<std::size_t>(request.Index)]);
            if (at == favorites.end()) return "The selected style is not in the favorites list !";
            if (!p.DeleteEntry(kind, static_cast<int>(at - favorites.begin())))
                return "The favorites list could not be saved !";
            p.DeleteEntry(library::StyleListKind::SearchResult, request.Index);
            return {};
        }
        case A::ExportToPlaylist:
            if (kind == library::StyleListKind::Favorites) {
                std::string message;
                p.ExportFavorites(message);
                return message;
            }
            return std::to_string(p.ExportToPlaylist(kind)) + " style(s) added to the current playlist !";
        default: return {};
    }
}

std::string DesktopPlaylist::Change(const PlaylistRequest& request) {
    using A = PlaylistAction;
    library::StylePlaylist& p = *playlist_;
    std::string message, error;
    switch (request.Action) {
        case A::NewPlaylist: p.NewPlaylist(request.Text); break;
        case A::OpenPlaylist: p.OpenPlaylist(request.Text, message); break;
        case A::AddPlaylist: p.AddPlaylist(request.Text, message); break;
        case A::SavePlaylist:
            if (!p.SavePlaylist(request.Text, error)) message = error + " !";
            break;
        case A::ClearPlaylist: p.ClearPlaylist(); break;
        case A::AddStyles: {
            if (request.Files.empty()) return "No styles are listed in the Style-Manager window !";
            std::vector<std::string> skipped;
            p.AddStyles(request.Files, request.Text, &skipped);
            for (const std::string& line : skipped) message += line + "\r\n";
            break;
        }
        case A::CopyStyles:
        case A::MoveStyles: {
            std::vector<std::string> failed;
            const int done = p.CopyStyles(library::StyleListKind::SearchResult, request.Text,
                                          request.Action == A::MoveStyles, failed);
            message = std::to_string(done) + " style(s) " + (request.Action == A::MoveStyles ? "moved" : "copied") +
                      " to " + request.Text + " !";
            for (const std::string& line : failed) message += "\r\n" + line;
            break;
        }
        case A::OpenFavorites:
            if (!p.OpenFavorites(error)) return error + " !";
            p.List(library::StyleListKind::SearchResult).Lines = p.List(library::StyleListKind::Favorites).Lines;
            p.List(library::StyleListKind::SearchResult).File.clear();
            p.Selected = p.List(library::StyleListKind::SearchResult).Lines.empty() ? -1 : 0;
            break;
        case A::AddFavorite:
            if (const auto file = FileAt(p.Selected); !file || !p.AddFavorite(*file, error))
                message = file ? error + " !" : std::string(library::playlist_text::NoLineForTerms);
            break;
        case A::OpenSearchResult: p.OpenSearchResult(request.Text, message); break;
        case A::SaveSearchResult:
            if (!p.SaveSearchResult(request.Text, error)) message = error + " !";
            break;
        case A::ClearSearchResult: p.ClearSearchResult(); break;
        case A::ImportFiles:
            if (request.Clear) p.ClearSearchResult();
            p.AddStyles(request.Files, {}, nullptr, library::StyleListKind::SearchResult);
            break;
        case A::AddTerms:
            if (!p.AddTerms(library::StyleListKind::SearchResult, p.Selected, request.Text))
                message = std::string(library::playlist_text::NoLineForTerms);
            break;
        case A::BadStyle: {
            const auto& lines = p.List(library::StyleListKind::SearchResult).Lines;
            if (p.Selected < 0 || static_cast<std::size_t>(p.Selected) >= lines.size()) break;
            const std::string line = lines[static_cast<std::size_t>(p.Selected)];
            auto& playlist = p.List(library::StyleListKind::Playlist).Lines;
            playlist.erase(std::remove(playlist.begin(), playlist.end(), line), playlist.end());
            p.DeleteEntry(library::StyleListKind::SearchResult, p.Selected);
            break;
        }
        default: return Maintain(request);
    }
    return message;
}

PlaylistView DesktopPlaylist::Handle(const PlaylistRequest& request) {
    using A = PlaylistAction;
    library::StylePlaylist& p = *playlist_;
    std::string message;
    switch (request.Action) {
        case A::Read: break;
        case A::Search: {
            const library::SearchOutcome outcome = p.Search(request.Text, request.Add, request.Sort);
            if (!outcome.Ok) message = outcome.Message;
            else app_.options.StyleSearchText = request.Text;
            break;
        }
        case A::FindNext: {
            // From the line after Index (−1: from the top).
            const int found = p.FindNext(request.Text, request.Index);
            if (found >= 0) p.Selected = found;
            else message = request.Text + " not found! Search from start?";
            break;
        }
        case A::Select:
        case A::Load:
            if (request.Index >= 0 &&
                static_cast<std::size_t>(request.Index) < p.List(library::StyleListKind::SearchResult).Lines.size())
                p.Selected = request.Index;
            break;
        case A::SetOptions:
            p.NextTicked = request.Next;
            p.FindTicked = request.Find;
            p.FindExpression = request.Text;
            SetRandom(request.Random);
            break;
        case A::ShuffleSearchResult: p.ShuffleSearchResult(session_.Random()); break;
        case A::ReadList: break;
        case A::ExportToEditor: {
            PlaylistView view = View();
            view.Message = Export(request, view);
            return view;
        }
        case A::ImportFromSonglist: {
            // Files holds the songlist's lines here.
            const library::SongStyles styles = library::StylesOfSongs(request.Files, session_.Paths());
            if (request.Clear) p.ClearSearchResult();
            const int added = p.AddStyles(styles.Files, {}, nullptr, library::StyleListKind::SearchResult);
            message = std::to_string(added) + " style(s) of the songlist added to the search result !";
            for (const std::string& problem : styles.Problems) message += "\r\n" + problem;
            break;
        }
        case A::SelectNumber:
            if (request.Index >= 0 &&
                static_cast<std::size_t>(request.Index) < p.List(library::StyleListKind::SearchResult).Lines.size())
                p.Selected = request.Index;
            else
                message = "Wrong entry or no such style number !";
            break;
        case A::LoadFile: break;  // the core loads it
        default: message = Change(request); break;
    }
    PlaylistView view = View();
    view.Message = message;
    if (request.Action == A::ReadList) {
        view.Listed = p.List(KindOf(request.List)).Lines;
        view.ListedFiles.reserve(view.Listed.size());
        for (const std::string& line : view.Listed) view.ListedFiles.push_back(p.FileOf(line).value_or(std::string{}));
    }
    return view;
}

}  // namespace chordella::desktop
