#include "app/ProgramTable.h"

#include "app/Message.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Transaction.h"

db::TableDefinition ProgramTableLayout::Definition() const {
    db::TableDefinition definition{name, {}, indexes};
    for (const ProgramField& field : fields) {
        const db::FieldType type = field.autoNumber ? db::FieldType::AutoNumber : field.type;
        definition.fields.push_back({field.name, type, type == db::FieldType::Text ? field.size : 0});
    }
    return definition;
}

bool ProgramTable::Create(db::Database& database, const ProgramTableLayout& layout, const CreationReport& report) {
    return RunCreation(database, report, [&] {
        if (!database.tableExists(layout.name))
            database.createTable(layout.Definition());
    });
}

bool ProgramTable::RunCreation(db::Database& database, const CreationReport& report,
                               const std::function<void()>& job) {
    try {
        db::Transaction transaction(database);
        job();
        transaction.commit();
        return true;
    } catch (const db::DbException& error) {
        Report(report, 0, error.cause());
    } catch (...) {
        Report(report, StringTable::kNePeutPasCreerTable, {});
    }
    return false;
}

void ProgramTable::Report(const CreationReport& report, int messageId, const std::string& databaseText) {
    const Message message = messageId == 0 ? Message::Text(databaseText) : Message(messageId);
    if (report.ui != nullptr)
        report.ui->ShowMessage(message, UserInterface::Icon::Error);
    if (report.errorText != nullptr)
        *report.errorText = StringTable::Format(message);
}

db::IndexDefinition ProgramTable::PrimaryKey(const std::string& field) {
    return db::IndexDefinition{"PrimaryKey", {{field}}, true, true};
}

db::IndexDefinition ProgramTable::SecondaryIndex(const std::string& name, const std::vector<std::string>& fields) {
    db::IndexDefinition index{name, {}, false, false};
    for (const std::string& field : fields)
        index.fields.push_back({field});
    return index;
}
