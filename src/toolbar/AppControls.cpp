// The binding table: one row per member of AppControls.
#include "toolbar/AppControls.h"

#include <type_traits>
#include <utility>

#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardEdit.h"
#include "skin/cStandardLabel.h"
#include "skin/cStandardListView.h"
#include "skin/cStandardSlider.h"
#include "skin/cToolPage.h"

namespace {

using A = AppControls;

// The control class of the member inMember of the group inGroup.
template <auto inGroup, auto inMember>
using MemberClass = std::remove_pointer_t<
    std::remove_reference_t<decltype((std::declval<A&>().*inGroup).*inMember)>>;

template <auto inGroup, auto inMember>
void BindMember(cToolPage* inPage, eUIFunction inFunction, A* ioControls) {
  (ioControls->*inGroup).*inMember =
      inPage->FindControlOf<MemberClass<inGroup, inMember>>(inFunction);
}

// The member inGroup.inMember, bound by inFunction.
template <auto inGroup, auto inMember>
constexpr AppControlBinding Row(eUIFunction inFunction, bool inUnused = false) {
  return {inFunction, inUnused, &BindMember<inGroup, inMember>};
}

// The visual scripts' section: bound, but the engine offers nothing to do.
template <auto inMember>
constexpr AppControlBinding Unused(eUIFunction inFunction) {
  return Row<&A::AdvVisualScripts, inMember>(inFunction, true);
}

constexpr AppControlBinding kBindings[] = {
    Row<&A::Basic, &A::Basic::WebLink>(kUIWebLink),
    Row<&A::Basic, &A::Basic::WaveShapeToggle>(kUIWaveShapeToggle),
    Row<&A::Basic, &A::Basic::WaveShapeList>(kUIWaveShapeList),
    Row<&A::Basic, &A::Basic::WaveShapeInterval>(kUIWaveShapeInterval),
    Row<&A::Basic, &A::Basic::ColorMapToggle>(kUIColorMapToggle),
    Row<&A::Basic, &A::Basic::ColorMapList>(kUIColorMapList),
    Row<&A::Basic, &A::Basic::ColorMapInterval>(kUIColorMapInterval),
    Row<&A::Basic, &A::Basic::FlowFieldToggle>(kUIFlowFieldToggle),
    Row<&A::Basic, &A::Basic::FlowFieldList>(kUIFlowFieldList),
    Row<&A::Basic, &A::Basic::FlowFieldInterval>(kUIFlowFieldInterval),
    Row<&A::Basic, &A::Basic::FrameRate>(kUIFrameRate),
    Row<&A::Basic, &A::Basic::ResponseScale>(kUIResponseScale),
    Row<&A::Basic, &A::Basic::DeckMode>(kUIDeckMode),
    Row<&A::Basic, &A::Basic::FullScreen>(kUIFullScreen),

    Row<&A::UpdateBar, &A::UpdateBar::Bar>(kUIUpdateBar),
    Row<&A::UpdateBar, &A::UpdateBar::Link>(kUIUpdateLink),

    Row<&A::AdvParticles, &A::AdvParticles::List>(kUIAdvParticles),
    Row<&A::AdvParticles, &A::AdvParticles::SelectAll>(kUIAdvParticlesSelectAll),
    Row<&A::AdvParticles, &A::AdvParticles::Start>(kUIAdvParticlesStart),
    Row<&A::AdvParticles, &A::AdvParticles::Stop>(kUIAdvParticlesStop),
    Row<&A::AdvParticles, &A::AdvParticles::StopAll>(kUIAdvParticlesStopAll),
    Row<&A::AdvParticles, &A::AdvParticles::AutoStart>(kUIAdvParticlesAutoStart),
    Row<&A::AdvParticles, &A::AdvParticles::Interval>(kUIAdvParticlesInterval),
    Row<&A::AdvParticles, &A::AdvParticles::Duration>(kUIAdvParticlesDuration),

    Row<&A::AdvImageVideo, &A::AdvImageVideo::List>(kUIAdvImageVideo),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::SelectAll>(kUIAdvImageVideoSelectAll),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::Start>(kUIAdvImageVideoStart),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::Stop>(kUIAdvImageVideoStop),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::StopAll>(kUIAdvImageVideoStopAll),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::Rescan>(kUIAdvImageVideoRescan),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::AutoStart>(kUIAdvImageVideoAutoStart),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::Interval>(kUIAdvImageVideoInterval),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::Duration>(kUIAdvImageVideoDuration),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::AlternateSource>(kUIAdvImageVideoAlternateSource),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::BrowseAlternateSource>(
        kUIAdvImageVideoBrowseAlternateSource),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::ClearAlternateSource>(
        kUIAdvImageVideoClearAlternateSource),
    Row<&A::AdvImageVideo, &A::AdvImageVideo::IncludeSubfolders>(kUIAdvImageVideoIncludeSubfolders),

    Row<&A::AdvWaveShapes, &A::AdvConfigList::List>(kUIAdvWaveShapes),
    Row<&A::AdvWaveShapes, &A::AdvConfigList::SelectAll>(kUIAdvWaveShapesSelectAll),
    Row<&A::AdvColorMaps, &A::AdvConfigList::List>(kUIAdvColorMaps),
    Row<&A::AdvColorMaps, &A::AdvConfigList::SelectAll>(kUIAdvColorMapsSelectAll),
    Row<&A::AdvFlowFields, &A::AdvConfigList::List>(kUIAdvFlowFields),
    Row<&A::AdvFlowFields, &A::AdvConfigList::SelectAll>(kUIAdvFlowFieldsSelectAll),

    Unused<&A::AdvVisualScripts::Unsaved>(kUIAdvScriptsUnsaved),
    Unused<&A::AdvVisualScripts::Saved>(kUIAdvScriptsSaved),
    Unused<&A::AdvVisualScripts::Save>(kUIAdvScriptsSave),
    Unused<&A::AdvVisualScripts::Rename>(kUIAdvScriptsRename),
    Unused<&A::AdvVisualScripts::Delete>(kUIAdvScriptsDelete),
    Unused<&A::AdvVisualScripts::SelectAll>(kUIAdvScriptsSelectAll),
    Unused<&A::AdvVisualScripts::Start>(kUIAdvScriptsStart),
    Unused<&A::AdvVisualScripts::StopAll>(kUIAdvScriptsStop),
    Unused<&A::AdvVisualScripts::Edit>(kUIAdvScriptsEdit),
    Unused<&A::AdvVisualScripts::ScriptsOn>(kUIAdvScriptsScriptsOn),
    Unused<&A::AdvVisualScripts::AutoRecord>(kUIAdvScriptsAutoRecord),

    Row<&A::AdvPreferences, &A::AdvPreferences::UseToolTips>(kUIAdvPrefUseToolTips),
    Row<&A::AdvPreferences, &A::AdvPreferences::AlwaysOnTop>(kUIAdvPrefAlwaysOnTop),
    Row<&A::AdvPreferences, &A::AdvPreferences::AutoOpenToolbar>(kUIAdvPrefAutoOpenToolbar),
    Row<&A::AdvPreferences, &A::AdvPreferences::AutoCloseToolbar>(kUIAdvPrefAutoCloseToolbar),
    Row<&A::AdvPreferences, &A::AdvPreferences::StartToolbarMinimized>(
        kUIAdvPrefStartToolbarMinimized),
    Row<&A::AdvPreferences, &A::AdvPreferences::DeckAutoStart>(kUIAdvPrefDeckAutoStart),
    Row<&A::AdvPreferences, &A::AdvPreferences::CheckForUpdates>(kUIAdvPrefCheckForUpdates),
    Row<&A::AdvPreferences, &A::AdvPreferences::AutoTrackInfo>(kUIAdvPrefAutoTrackInfo),
    Row<&A::AdvPreferences, &A::AdvPreferences::FullScreenMode>(kUIAdvPrefFullScreenMode),
    Row<&A::AdvPreferences, &A::AdvPreferences::AudioSource>(kUIAdvPrefAudioSource),
    Row<&A::AdvPreferences, &A::AdvPreferences::LineBoost>(kUIAdvPrefLineBoost),
    Row<&A::AdvPreferences, &A::AdvPreferences::TrackTextAppearance>(kUIAdvPrefTrackTextAppearance),
    Row<&A::AdvPreferences, &A::AdvPreferences::TrackTextDuration>(kUIAdvPrefTrackTextDuration),
    Row<&A::AdvPreferences, &A::AdvPreferences::TrackTextFont>(kUIAdvPrefTrackTextFont),
    Row<&A::AdvPreferences, &A::AdvPreferences::TrackTextSize>(kUIAdvPrefTrackTextSize),
    Row<&A::AdvPreferences, &A::AdvPreferences::ShowToolbarIn>(kUIAdvPrefShowToolbarIn),
    Row<&A::AdvPreferences, &A::AdvPreferences::FrameXLimit>(kUIAdvPrefFrameXLimit),
    Row<&A::AdvPreferences, &A::AdvPreferences::FrameYLimit>(kUIAdvPrefFrameYLimit),
    Row<&A::AdvPreferences, &A::AdvPreferences::AutoLineScale>(kUIAdvPrefAutoLineScale),
    Row<&A::AdvPreferences, &A::AdvPreferences::AllowRemoteControl>(kUIAdvPrefAllowRemoteControl),
    Row<&A::AdvPreferences, &A::AdvPreferences::FlowFieldUnions>(kUIAdvPrefFlowFieldUnions),
    Row<&A::AdvPreferences, &A::AdvPreferences::FlowFieldTransitions>(
        kUIAdvPrefFlowFieldTransitions),
    Row<&A::AdvPreferences, &A::AdvPreferences::FlowFieldSmoothSwitch>(
        kUIAdvPrefFlowFieldSmoothSwitch),
    Row<&A::AdvPreferences, &A::AdvPreferences::Skin>(kUIAdvPrefSkin),
    Row<&A::AdvPreferences, &A::AdvPreferences::Theme>(kUIAdvPrefTheme),
    Row<&A::AdvPreferences, &A::AdvPreferences::SaveTheme>(kUIAdvPrefSaveThemeAs),
    Row<&A::AdvPreferences, &A::AdvPreferences::DeleteTheme>(kUIAdvPrefDeleteTheme),
    Row<&A::AdvPreferences, &A::AdvPreferences::Peer>(kUIAdvPrefPeer),
    Row<&A::AdvPreferences, &A::AdvPreferences::PeerRefresh>(kUIAdvPrefPeerRefresh),
};

// AppControls holds nothing but the members, each a pointer with a row.
static_assert(sizeof(kBindings) / sizeof(kBindings[0]) == sizeof(AppControls) / sizeof(void*),
              "every member of AppControls needs its row");

}  // namespace

void BindAppControls(cToolPage* inPage, AppControls* ioControls) {
  *ioControls = AppControls{};
  if (inPage == nullptr) {
    return;
  }
  for (const AppControlBinding& row : kBindings) {
    row.mBind(inPage, row.mFunction, ioControls);
  }
}

const AppControlBinding* FindAppControlBinding(eUIFunction inFunction) {
  for (const AppControlBinding& row : kBindings) {
    if (row.mFunction == inFunction) {
      return &row;
    }
  }
  return nullptr;
}
