// Choosing the provider session for a connection's settings.
#include "platform/ado/session.h"

std::unique_ptr<CSession> OpenSession(const ConnectionSettings& settings, int timeoutSeconds,
                                      ErrorRecord& error) {
    if (settings.provider == ProviderKind::PostgreSQL) {
        return OpenPostgresSession(settings, timeoutSeconds, error);
    }
    return OpenSqliteSession(settings, timeoutSeconds, error);
}
