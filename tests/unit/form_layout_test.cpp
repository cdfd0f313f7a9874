// The layout table against the form models: every control has a place, inside its container,
// and no two controls of a container overlap, in both faces and every arrangement.
#include "base/form_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>

#include "base/forms.h"

using namespace vq;

namespace {

// How many controls a form model holds, counted from its members' types: a control added to a
// model is counted without anyone listing it here.
template <class T>
constexpr int kControls = 0;
template <>
constexpr int kControls<Label> = 1;
template <>
constexpr int kControls<TextBox> = 1;
template <>
constexpr int kControls<Button> = 1;
template <>
constexpr int kControls<ProgressBar> = 1;
template <>
constexpr int kControls<StatusBar> = 1;
template <>
constexpr int kControls<ComboBox> = 1;
template <class T, std::size_t N>
constexpr int kControls<std::array<T, N>> = int(N) * kControls<T>;

struct AnyMember {
  int* controls;
  template <class T>
  operator T() const {
    *controls += kControls<T>;
    return T{};
  }
};

template <class T, std::size_t N>
constexpr bool kInitialisable = []<std::size_t... I>(std::index_sequence<I...>) {
  return requires { T{(void(I), std::declval<AnyMember>())...}; };
}(std::make_index_sequence<N>());

template <class T, std::size_t N = 0>
constexpr std::size_t memberCount() {
  if constexpr (kInitialisable<T, N + 1>) return memberCount<T, N + 1>();
  else return N;
}

template <class T>
int controlsOf() {
  int n = 0;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    const T model{(void(I), AnyMember{&n})...};
    (void)model;
  }(std::make_index_sequence<memberCount<T>()>());
  return n;
}

bool overlap(const Rect& a, const Rect& b) {
  return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

bool inside(const Rect& r, const Rect& container) {
  return r.x >= 0 && r.y >= 0 && r.right() <= container.w && r.bottom() <= container.h;
}

struct Arranged {
  std::string_view form;
  Arrangement shown;
  int modelControls;
  int notShown;  // controls of the model hidden in this arrangement
};

}  // namespace

TEST(FormLayout, EveryControlHasAPlaceInsideItsContainerOverlappingNoSibling) {
  const Arranged forms[] = {
      {"frmMain", Arrangement::Always, controlsOf<FrmMain>(), 0},
      {"frmPortConf", Arrangement::Always, controlsOf<FrmPortConf>(), 0},
      {"frmForceUpdate", Arrangement::NoSavedLine, controlsOf<FrmForceUpdate>(), 2},  // lblSaved, cmdForget
      {"frmForceUpdate", Arrangement::SavedLine, controlsOf<FrmForceUpdate>(), 0},
  };
  for (const Arranged& a : forms) {
    for (const Face face : {Face::English, Face::Japanese}) {
      SCOPED_TRACE(std::string(a.form) + (face == Face::Japanese ? " Japanese" : " English") + " arrangement " +
                   std::to_string(int(a.shown)));
      std::vector<ControlPlace> rows;
      for (const ControlPlace& p : formLayout())
        if (p.form == a.form && p.control != a.form &&
            (p.shown == Arrangement::Always || a.shown == Arrangement::Always || p.shown == a.shown))
          rows.push_back(p);
      const Rect client = placeOf(a.form, a.form, 0, face, a.shown);
      ASSERT_FALSE(client.empty());

      std::set<std::pair<std::string_view, int>> controls;
      for (const ControlPlace& p : rows) {
        SCOPED_TRACE(std::string(p.control) + " " + std::to_string(p.index));
        const Rect r = p.in(face);
        EXPECT_FALSE(r.empty());
        EXPECT_TRUE(controls.emplace(p.control, p.index).second) << "placed twice";
        const Rect container = p.container.empty() ? client : placeOf(a.form, p.container, 0, face, a.shown);
        EXPECT_TRUE(inside(r, container)) << "outside " << (p.container.empty() ? "the client area" : p.container);
        for (const ControlPlace& q : rows) {
          if (&q != &p && q.container == p.container) {
            EXPECT_FALSE(overlap(r, q.in(face))) << "overlaps " << q.control << " " << q.index;
          }
        }
      }
      // The status bar's panels are parts of one control of the model.
      int placed = 0;
      for (const auto& [control, index] : controls) placed += control == "stsAppStatusPanel" ? 0 : 1;
      EXPECT_EQ(placed, a.modelControls - a.notShown);
    }
  }
}
