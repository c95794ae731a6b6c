// Starts tessaly-dap for every debug session of type "tessaly": the program
// named by the tessaly.adapterPath setting, speaking the protocol on its
// standard input and output.
'use strict';

const vscode = require('vscode');

function activate(context) {
  context.subscriptions.push(vscode.debug.registerDebugAdapterDescriptorFactory('tessaly', {
    createDebugAdapterDescriptor() {
      const adapter = vscode.workspace.getConfiguration('tessaly').get('adapterPath') || 'tessaly-dap';
      return new vscode.DebugAdapterExecutable(adapter, ['--stdio']);
    },
  }));
}

function deactivate() {}

module.exports = { activate, deactivate };
