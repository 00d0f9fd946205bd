#pragma once

#include <QByteArray>

namespace korvan::cli {

struct Context;

QByteArray listProjects(Context &context);
QByteArray importProject(Context &context);
QByteArray exportProject(Context &context);
QByteArray recalcProject(Context &context);
QByteArray editProjectCommand(Context &context);
QByteArray deleteProjectCommand(Context &context);
QByteArray copyProjectCommand(Context &context);
QByteArray importCatalogue(Context &context);
QByteArray exportCatalogue(Context &context);
QByteArray graphFromFile(Context &context);
QByteArray reportCommand(Context &context);
QByteArray analyseProject(Context &context);
QByteArray economicsCommand(Context &context);
QByteArray supplyCommand(Context &context);
QByteArray storeCopyCommand(Context &context);

} // namespace korvan::cli
