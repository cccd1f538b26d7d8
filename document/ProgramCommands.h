#pragma once

// The edits of a chart as undoable commands. Each changes the document's
// program model only; the chain follows the model's notifications. After
// redo and undo each selects what a pupil expects to see: the blocks it
// brought back, or the spot where blocks went away.

#include "program/Program.h"

#include <QUndoCommand>

#include <cstddef>
#include <vector>

class TProgramChain;

// "“直行”" for one block, "3 个模块" for several.
QString BlocksName(const std::vector<TProgramBlock>& blocks);

class TInsertBlocksCommand : public QUndoCommand {
public:
    // text: "插入", "粘贴", "复制" and the like; the blocks' name follows.
    TInsertBlocksCommand(TProgramChain& chain, std::size_t index, std::vector<TProgramBlock> blocks,
                         const QString& verb);
    void redo() override;
    void undo() override;

private:
    TProgramChain& Chain;
    std::size_t Index;
    std::vector<TProgramBlock> Blocks;
};

class TRemoveBlocksCommand : public QUndoCommand {
public:
    TRemoveBlocksCommand(TProgramChain& chain, std::size_t first, std::size_t count,
                         const QString& verb);
    void redo() override;
    void undo() override;

private:
    TProgramChain& Chain;
    std::size_t First;
    std::size_t Count;
    std::vector<TProgramBlock> Removed;
};

class TEditRecordCommand : public QUndoCommand {
public:
    TEditRecordCommand(TProgramChain& chain, std::size_t index, std::string record);
    void redo() override;
    void undo() override;

private:
    void Swap();
    TProgramChain& Chain;
    TBlockId Id;
    std::string Record; // the one not in the model at the moment
};

class TMoveBlocksCommand : public QUndoCommand {
public:
    // Moves first..first+count-1 so that it starts at `to` (an index in the
    // list after the move).
    TMoveBlocksCommand(TProgramChain& chain, std::size_t first, std::size_t count, std::size_t to);
    void redo() override;
    void undo() override;

private:
    TProgramChain& Chain;
    std::size_t First;
    std::size_t Count;
    std::size_t To;
};
