#include "CommandGuard.h"

#include "Messages.h"

#include <QString>
#include <exception>

namespace korvan {

bool runGuarded(const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const Abort &) {
    } catch (const KorvanError &e) {
        Messages::error(e.message());
    } catch (const std::exception &e) {
        Messages::error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace korvan
