// The companion windows as the main window reaches them: each kind in its
// slot, and the program's fixed orders for the language switch, the drag
// and destruction.
#include "AppTestSupport.h"
#include "uMagneticForm.h"
#include "uOkna.h"

namespace {

QStringList Log;

class TLoggingForm : public TMagneticForm {
public:
    explicit TLoggingForm(const QString &name) { setObjectName(name); }
    ~TLoggingForm() override { Log.append(QStringLiteral("destroy ") + objectName()); }
    void ApplyLanguage() { Log.append(objectName()); }
};

template <class W>
QStringList Names(const QList<W *> &windows) {
    QStringList names;
    for (const W *w : windows)
        names.append(w->objectName());
    return names;
}

} // namespace

TEST(CompanionWindowsTest, EachListFollowsTheProgramsOrderWhateverTheOrderOfCreation) {
    Log.clear();
    {
        TCompanionWindows companions;
        const std::pair<TCompanion, const char *> created[] = {
            {TCompanion::About, "about"},         {TCompanion::Variables, "variables"},
            {TCompanion::Language, "language"},   {TCompanion::History, "history"},
            {TCompanion::Preview, "preview"},     {TCompanion::ConstantEditor, "editor"},
            {TCompanion::Constants, "constants"},
        };
        for (const auto &[kind, name] : created)
            companions.Add(kind, new TLoggingForm(QLatin1String(name)));
        EXPECT_EQ(companions.Window(TCompanion::History)->objectName(), "history");

        companions.ApplyLanguage(); // the chooser re-applies itself
        EXPECT_EQ(Log, QStringList({"history", "constants", "preview", "variables", "editor", "about"}));
        EXPECT_EQ(Names(companions.Docked()), QStringList({"variables", "preview", "constants", "history"}));
        Log.clear();
    }
    EXPECT_EQ(Log, QStringList({"destroy constants", "destroy editor", "destroy preview", "destroy history",
                                "destroy language", "destroy variables", "destroy about"}));
}

TEST(CompanionWindowsTest, AMissingOrDestroyedWindowIsLeftOut) {
    Log.clear();
    TCompanionWindows companions;
    companions.Add(TCompanion::History, new TLoggingForm(QStringLiteral("history")));
    auto *variables = companions.Add(TCompanion::Variables, new TLoggingForm(QStringLiteral("variables")));
    delete variables; // closed and freed elsewhere
    Log.clear();
    EXPECT_FALSE(companions.Has(TCompanion::Constants));
    EXPECT_FALSE(companions.Has(TCompanion::Variables));
    EXPECT_EQ(companions.Window(TCompanion::Preview), nullptr);
    companions.ApplyLanguage();
    EXPECT_EQ(Log, QStringList({"history"}));
    EXPECT_EQ(Names(companions.Docked()), QStringList({"history"}));
}
