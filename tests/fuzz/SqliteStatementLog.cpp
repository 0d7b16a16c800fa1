#include "SqliteStatementLog.h"

#include <sqlite3.h>

#include <algorithm>

namespace quillet::testing {

namespace {

bool recording = false;
sqlite3* lastOpened = nullptr;
// The image of a store the engine made, copied into every connection opened afterwards.
std::vector<unsigned char> storeImage;
std::vector<std::string> started;
int progressCalls = 0;

// A recursive query can run for ever; a bounded number of virtual machine steps keeps one input
// well inside the fuzzer's time limit.
constexpr int kProgressInterval = 1000;
constexpr int kProgressCallsAllowed = 5000;

int onTrace(unsigned type, void*, void*, void* text) {
    const auto* sql = static_cast<const char*>(text);
    // Statements of triggers come as "-- " comments; they belong to the statement that fired them.
    if (recording && type == SQLITE_TRACE_STMT && sql != nullptr &&
        std::string_view(sql).substr(0, 3) != "-- ") {
        started.emplace_back(sql);
    }
    return 0;
}

int onProgress(void*) {
    return recording && ++progressCalls > kProgressCallsAllowed ? 1 : 0;
}

int onOpen(sqlite3* db, const char**, const sqlite3_api_routines*) {
    // Statements reach the engine as written, so an input may name any of its pragmas; the
    // defensive mode keeps raw SQL from writing the schema table or switching the journal off,
    // which no single statement of the program does.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, onTrace, nullptr);
    sqlite3_progress_handler(db, kProgressInterval, onProgress, nullptr);
    lastOpened = db;
    if (!storeImage.empty()) {
        auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(storeImage.size()));
        if (copy == nullptr) {
            return SQLITE_NOMEM;
        }
        std::copy(storeImage.begin(), storeImage.end(), copy);
        const auto size = static_cast<sqlite3_int64>(storeImage.size());
        return sqlite3_deserialize(db, "main", copy, size, size,
                                   SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
    }
    return SQLITE_OK;
}

}  // namespace

void watchEmbeddedConnections() {
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&onOpen));
}

void keepLastOpenedStore() {
    sqlite3_int64 size = 0;
    unsigned char* image = sqlite3_serialize(lastOpened, "main", &size, 0);
    if (image != nullptr) {
        storeImage.assign(image, image + size);
        sqlite3_free(image);
    }
}

void startRecording() {
    started.clear();
    progressCalls = 0;
    recording = true;
}

std::vector<std::string> stopRecording() {
    recording = false;
    return std::move(started);
}

}  // namespace quillet::testing
