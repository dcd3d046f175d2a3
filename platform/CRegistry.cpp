#include "platform/CRegistry.h"

#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include "platform/AsciiCase.h"
#include "platform/CRegistryOwner.h"
#include "platform/StateDirectory.h"

namespace {

constexpr int BusyTimeoutMs = 10000;
constexpr int SetupRetryMs = 10;

const char* const HiveFiles[] = {"local-machine.db", "classes-root.db"};

const char* const Schema =
    "CREATE TABLE IF NOT EXISTS keys("
    " id INTEGER PRIMARY KEY,"
    " folded TEXT NOT NULL UNIQUE," // the path in lower case: the lookup
    " parent TEXT NOT NULL,"        // the folded path of the parent key, "" at the top
    " name TEXT NOT NULL);"         // the last part as created
    "CREATE INDEX IF NOT EXISTS keysByParent ON keys(parent, id);"
    "CREATE TABLE IF NOT EXISTS vals("
    " id INTEGER PRIMARY KEY,"
    " key TEXT NOT NULL,"
    " folded TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " kind INTEGER NOT NULL,"
    " data BLOB NOT NULL,"
    " UNIQUE(key, folded));";

// Splits a key path at its backslashes; "" is the root. An empty part
// ("a\\b", "\a", "a\") makes the path invalid.
bool SplitPath(const std::string& path, std::vector<std::string>& parts)
{
    parts.clear();
    if (path.empty())
        return true;
    size_t start = 0;
    while (true) {
        size_t end = path.find('\\', start);
        std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty())
            return false;
        parts.push_back(part);
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

bool FoldedPath(const std::string& path, std::string& folded)
{
    std::vector<std::string> parts;
    if (!SplitPath(path, parts))
        return false;
    folded = FoldAscii(path);
    return true;
}

// One prepared statement, finalized on every path.
class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Valid() const { return stmt != nullptr; }
    Statement& Bind(int index, const std::string& text)
    {
        if (stmt)
            sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int index, int64_t value)
    {
        if (stmt)
            sqlite3_bind_int64(stmt, index, value);
        return *this;
    }
    Statement& BindBlob(int index, const void* data, size_t size)
    {
        // A zero-length blob still has to be a blob, not NULL.
        if (stmt)
            sqlite3_bind_blob(stmt, index, size ? data : "", static_cast<int>(size), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() { return stmt ? sqlite3_step(stmt) : SQLITE_ERROR; }
    bool Done() { return Step() == SQLITE_DONE; }
    int64_t Int(int column) { return sqlite3_column_int64(stmt, column); }
    std::string Text(int column)
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_blob(stmt, column));
        return std::string(text ? text : "", sqlite3_column_bytes(stmt, column));
    }

private:
    sqlite3_stmt* stmt = nullptr;
};

bool Execute(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// BEGIN IMMEDIATE takes the write lock at once, so a waiting writer goes
// through the busy timeout instead of failing on a lock upgrade.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db(db), open(Execute(db, "BEGIN IMMEDIATE")) {}
    ~Transaction()
    {
        if (open)
            Execute(db, "ROLLBACK");
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool Open() const { return open; }
    bool Commit()
    {
        if (!open || !Execute(db, "COMMIT"))
            return false;
        open = false;
        return true;
    }

private:
    sqlite3* db;
    bool open;
};

bool KeyStored(sqlite3* db, const std::string& folded)
{
    if (folded.empty())
        return true;
    Statement query(db, "SELECT 1 FROM keys WHERE folded = ?");
    return query.Bind(1, folded).Step() == SQLITE_ROW;
}

} // namespace

CRegistry::CRegistry(const std::string& stateFolder) : folder(stateFolder)
{
    for (int index = 0; index < 2 && !folder.empty(); ++index)
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            if (!KeepPrivate(folder + "/" + HiveFiles[index] + suffix))
                refused[index] = true;
}

CRegistry::~CRegistry()
{
    for (sqlite3* db : connections)
        sqlite3_close_v2(db);
}

void CRegistry::AddOwner(CRegistryOwner* owner)
{
    std::lock_guard lock(mutex);
    owners.push_back(owner);
}

void CRegistry::RemoveOwner(CRegistryOwner* owner)
{
    std::lock_guard lock(mutex);
    std::erase(owners, owner);
}

// Opens the hive's database on first use; a failed open is tried again on the
// next call. Call with the mutex held.
sqlite3* CRegistry::Connection(RegistryHive hive)
{
    int index = hive == HiveClassesRoot ? 1 : 0;
    if (connections[index])
        return connections[index];
    if (folder.empty() || refused[index])
        return nullptr;
    std::string path = folder + "/" + HiveFiles[index];
    // Made here so that it is private from the start; SQLite gives its journal
    // and shared-memory files the database file's mode.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return nullptr;
    close(fd);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    // When two processes open a new database at once, the switch to WAL can
    // answer "busy" at once instead of waiting: try again for the busy timeout.
    bool ready = false;
    for (int waited = 0; !ready && waited <= BusyTimeoutMs; waited += SetupRetryMs) {
        int error = SQLITE_OK;
        ready = Execute(db, "PRAGMA journal_mode = WAL") && Execute(db, "PRAGMA synchronous = FULL");
        if (ready) {
            Transaction transaction(db);
            ready = transaction.Open() && Execute(db, Schema) && transaction.Commit();
            if (!ready)
                error = sqlite3_errcode(db); // before the rollback resets it
        } else {
            error = sqlite3_errcode(db);
        }
        if (ready || (error != SQLITE_BUSY && error != SQLITE_LOCKED))
            break;
        sqlite3_sleep(SetupRetryMs);
    }
    if (!ready) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    connections[index] = db;
    return db;
}

CRegistryOwner* CRegistry::OwnerOf(RegistryHive hive, const std::string& key)
{
    std::vector<CRegistryOwner*> current;
    {
        std::lock_guard lock(mutex);
        current = owners;
    }
    for (CRegistryOwner* owner : current) {
        if (owner->Owns(hive, key))
            return owner;
    }
    return nullptr;
}

// A key is writable when neither it nor any key above it is owned.
bool CRegistry::Writable(RegistryHive hive, const std::string& key)
{
    std::vector<std::string> parts;
    if (!SplitPath(key, parts))
        return false;
    std::string prefix;
    for (const std::string& part : parts) {
        prefix += (prefix.empty() ? "" : "\\") + part;
        if (OwnerOf(hive, prefix))
            return false;
    }
    return true;
}

bool CRegistry::CreateKey(RegistryHive hive, const std::string& path)
{
    std::vector<std::string> parts;
    if (!SplitPath(path, parts) || !Writable(hive, path))
        return false;
    std::lock_guard lock(mutex);
    sqlite3* db = Connection(hive);
    if (!db)
        return false;
    Transaction transaction(db);
    if (!transaction.Open())
        return false;
    std::string parent;
    for (const std::string& part : parts) {
        std::string folded = parent + (parent.empty() ? "" : "\\") + FoldAscii(part);
        Statement insert(db, "INSERT OR IGNORE INTO keys(folded, parent, name) VALUES(?, ?, ?)");
        if (!insert.Bind(1, folded).Bind(2, parent).Bind(3, part).Done())
            return false;
        parent = folded;
    }
    return transaction.Commit();
}

bool CRegistry::KeyExists(RegistryHive hive, const std::string& path)
{
    std::string folded;
    if (!FoldedPath(path, folded))
        return false;
    if (OwnerOf(hive, path))
        return true;
    std::lock_guard lock(mutex);
    sqlite3* db = Connection(hive);
    return db && KeyStored(db, folded);
}

bool CRegistry::DeleteKey(RegistryHive hive, const std::string& path)
{
    std::string folded;
    if (!FoldedPath(path, folded) || folded.empty() || !Writable(hive, path))
        return false;
    std::lock_guard lock(mutex);
    sqlite3* db = Connection(hive);
    if (!db)
        return false;
    Transaction transaction(db);
    if (!transaction.Open() || !KeyStored(db, folded))
        return false;
    // Everything below the key sorts between "key\" and "key]".
    std::string low = folded + "\\";
    std::string high = folded + "]";
    Statement keys(db, "DELETE FROM keys WHERE folded = ? OR (folded >= ? AND folded < ?)");
    Statement values(db, "DELETE FROM vals WHERE key = ? OR (key >= ? AND key < ?)");
    if (!keys.Bind(1, folded).Bind(2, low).Bind(3, high).Done()
        || !values.Bind(1, folded).Bind(2, low).Bind(3, high).Done())
        return false;
    return transaction.Commit();
}

bool CRegistry::SetValue(RegistryHive hive, const std::string& key, const std::string& name, ValueKind kind,
                         const void* data, size_t size)
{
    std::string folded;
    if (!FoldedPath(key, folded) || !Writable(hive, key))
        return false;
    std::lock_guard lock(mutex);
    sqlite3* db = Connection(hive);
    if (!db)
        return false;
    Transaction transaction(db);
    if (!transaction.Open() || !KeyStored(db, folded))
        return false;
    // An update in place keeps the row, and with it the value's place in the
    // enumeration.
    Statement upsert(db,
                     "INSERT INTO vals(key, folded, name, kind, data) VALUES(?, ?, ?, ?, ?)"
                     " ON CONFLICT(key, folded) DO UPDATE SET kind = excluded.kind, data = excluded.data");
    if (!upsert.Bind(1, folded).Bind(2, FoldAscii(name)).Bind(3, name).Bind(4, kind).BindBlob(5, data, size).Done())
        return false;
    return transaction.Commit();
}

bool CRegistry::SetNumber(RegistryHive hive, const std::string& key, const std::string& name, uint32_t value)
{
    uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return SetValue(hive, key, name, ValueNumber, bytes, sizeof bytes);
}

bool CRegistry::SetBinary(RegistryHive hive, const std::string& key, const std::string& name,
                          const std::vector<uint8_t>& value)
{
    return SetValue(hive, key, name, ValueBinary, value.data(), value.size());
}

bool CRegistry::SetString(RegistryHive hive, const std::string& key, const std::string& name,
                          const std::string& utf8)
{
    return SetValue(hive, key, name, ValueString, utf8.data(), utf8.size());
}

bool CRegistry::QueryValue(RegistryHive hive, const std::string& key, const std::string& name, ValueKind kind,
                           std::vector<uint8_t>& out)
{
    std::string folded;
    if (!FoldedPath(key, folded) || OwnerOf(hive, key))
        return false;
    std::lock_guard lock(mutex);
    sqlite3* db = Connection(hive);
    if (!db)
        return false;
    Statement query(db, "SELECT kind, data FROM vals WHERE key = ? AND folded = ?");
    if (query.Bind(1, folded).Bind(2, FoldAscii(name)).Step() != SQLITE_ROW || query.Int(0) != kind)
        return false;
    std::string data = query.Text(1);
    out.assign(data.begin(), data.end());
    return true;
}

bool CRegistry::QueryNumber(RegistryHive hive, const std::string& key, const std::string& name, uint32_t& out)
{
    std::vector<uint8_t> data;
    if (!QueryValue(hive, key, name, ValueNumber, data) || data.size() != 4)
        return false;
    out = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
    return true;
}

bool CRegistry::QueryBinary(RegistryHive hive, const std::string& key, const std::string& name,
                            std::vector<uint8_t>& out)
{
    return QueryValue(hive, key, name, ValueBinary, out);
}

bool CRegistry::QueryString(RegistryHive hive, const std::string& key, const std::string& name, std::string& out)
{
    if (CRegistryOwner* owner = OwnerOf(hive, key))
        return owner->QueryString(hive, key, name, out);
    std::vector<uint8_t> data;
    if (!QueryValue(hive, key, name, ValueString, data))
        return false;
    out.assign(data.begin(), data.end());
    return true;
}

bool CRegistry::EnumValue(RegistryHive hive, const std::string& key, uint32_t index, std::string& name)
{
    return EnumName(hive, key, index, "SELECT name FROM vals WHERE key = ? ORDER BY id LIMIT 1 OFFSET ?", name);
}

bool CRegistry::EnumKey(RegistryHive hive, const std::string& key, uint32_t index, std::string& name)
{
    return EnumName(hive, key, index, "SELECT name FROM keys WHERE parent = ? ORDER BY id LIMIT 1 OFFSET ?", name);
}

// The index-th name `sql` lists for the key, in the order they were made.
bool CRegistry::EnumName(RegistryHive hive, const std::string& key, uint32_t index, const char* sql,
                         std::string& name)
{
    std::string folded;
    if (!FoldedPath(key, folded) || OwnerOf(hive, key))
        return false;
    std::lock_guard lock(mutex);
    sqlite3* db = Connection(hive);
    if (!db || !KeyStored(db, folded))
        return false;
    Statement query(db, sql);
    if (query.Bind(1, folded).Bind(2, static_cast<int64_t>(index)).Step() != SQLITE_ROW)
        return false;
    name = query.Text(0);
    return true;
}

bool CRegistry::DeleteValue(RegistryHive hive, const std::string& key, const std::string& name)
{
    std::string folded;
    if (!FoldedPath(key, folded) || !Writable(hive, key))
        return false;
    std::lock_guard lock(mutex);
    sqlite3* db = Connection(hive);
    if (!db)
        return false;
    Transaction transaction(db);
    if (!transaction.Open())
        return false;
    Statement remove(db, "DELETE FROM vals WHERE key = ? AND folded = ?");
    if (!remove.Bind(1, folded).Bind(2, FoldAscii(name)).Done() || sqlite3_changes(db) == 0)
        return false;
    return transaction.Commit();
}
