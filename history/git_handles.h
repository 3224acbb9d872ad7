#pragma once

#include <git2.h>

#include <memory>
#include <string>

namespace q93::history {

// libgit2's objects, freed by their own functions when the handle ends.
template <typename T, void (*Free)(T*)>
struct GitFree {
    void operator()(T* object) const { Free(object); }
};
template <typename T, void (*Free)(T*)>
using GitHandle = std::unique_ptr<T, GitFree<T, Free>>;

using Repository = GitHandle<git_repository, git_repository_free>;
using Index = GitHandle<git_index, git_index_free>;
using Tree = GitHandle<git_tree, git_tree_free>;
using Commit = GitHandle<git_commit, git_commit_free>;
using Blob = GitHandle<git_blob, git_blob_free>;
using Diff = GitHandle<git_diff, git_diff_free>;
using Signature = GitHandle<git_signature, git_signature_free>;
using Object = GitHandle<git_object, git_object_free>;
using TreeEntry = GitHandle<git_tree_entry, git_tree_entry_free>;
using RevisionWalk = GitHandle<git_revwalk, git_revwalk_free>;
using Config = GitHandle<git_config, git_config_free>;
using Reference = GitHandle<git_reference, git_reference_free>;
using TreeBuilder = GitHandle<git_treebuilder, git_treebuilder_free>;

// Calls a libgit2 function that hands out an object through its first parameter, and puts
// the object into `handle` before returning the function's result, so that the handle can
// be used in the same expression:
//   fill(tree, git_commit_tree, commit.get()) != 0 || use(tree.get())
template <typename Handle, typename Function, typename... Arguments>
int fill(Handle& handle, Function function, Arguments... arguments) {
    typename Handle::pointer raw = nullptr;
    const int result = function(&raw, arguments...);
    handle.reset(raw);
    return result;
}

// libgit2's words for its last failure, after `what`: "cannot commit: ...".
std::string gitError(const std::string& what);

// libgit2 is started once for the process and left running.
void startLibgit2();

}  // namespace q93::history
