#pragma once
// The saved standard descriptions (SAVE_DESCR): each user's own and the general
// ones (UID 0), offered to every description field.
#include "core/db/Db.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

namespace orvak::basedata {

// The scopes of the picker, in the order of its choice.
enum class DescriptionScope { GeneralAndMine = 0, General = 1, Mine = 2, Everyone = 3 };
QStringList descriptionScopes();

// The list's :PUID and :PUID2 for a scope and the current user.
QVariantMap descriptionScopeParameters(DescriptionScope scope, int userCode);

struct DescriptionKey {
    int uid = 0;
    int row = 0;
};

class StandardDescriptions {
public:
    explicit StandardDescriptions(startup::Session& session)
        : session_(session)
    {
    }

    // A description of the current user, under his next row number.
    std::optional<DescriptionKey> add(const QString& text, startup::Prompt& prompt);
    // Changes the text; a description of someone else becomes the current user's.
    std::optional<DescriptionKey> change(DescriptionKey key, const QString& text, startup::Prompt& prompt);
    bool remove(DescriptionKey key, startup::Prompt& prompt);
    // "در نظر گرفتن  اين شرح بعنوان شرح عمومي و همگاني".
    std::optional<DescriptionKey> makeGeneral(DescriptionKey key, startup::Prompt& prompt);

private:
    std::optional<DescriptionKey> moveTo(DescriptionKey key, int uid, const QString& text, startup::Prompt& prompt);
    startup::Session& session_;
};

} // namespace orvak::basedata
