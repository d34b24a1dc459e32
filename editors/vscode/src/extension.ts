// Starts `scenario lsp` for the line and train sources and restarts it when
// the settings that name the program change.
import * as vscode from 'vscode';
import { LanguageClient, LanguageClientOptions, ServerOptions } from 'vscode-languageclient/node';

const LANGUAGE_ID = 'scenario-source';
const SECTION = 'scenario';
const DEFAULT_SERVER = 'scenario';

let client: LanguageClient | undefined;

function serverCommand(): { command: string; args: string[] } {
  const config = vscode.workspace.getConfiguration(SECTION);
  const command = config.get<string>('serverPath', DEFAULT_SERVER).trim() || DEFAULT_SERVER;
  return { command, args: ['lsp', ...config.get<string[]>('serverArgs', [])] };
}

async function startClient(): Promise<void> {
  const { command, args } = serverCommand();
  const serverOptions: ServerOptions = { command, args };
  const clientOptions: LanguageClientOptions = { documentSelector: [{ language: LANGUAGE_ID }] };
  // The id "scenario" makes the client read the scenario.trace.server setting.
  const started = new LanguageClient(SECTION, 'Scenario language server', serverOptions, clientOptions);
  client = started;
  try {
    await started.start();
  } catch (err) {
    const reason = err instanceof Error ? err.message : String(err);
    void vscode.window.showErrorMessage(
      `Could not start "${[command, ...args].join(' ')}" (the setting scenario.serverPath): ${reason}`,
    );
  }
}

async function stopClient(): Promise<void> {
  const running = client;
  client = undefined;
  if (running?.isRunning()) {
    await running.stop();
  }
}

async function restartClient(): Promise<void> {
  await stopClient();
  await startClient();
}

export async function activate(context: vscode.ExtensionContext): Promise<void> {
  context.subscriptions.push(
    vscode.commands.registerCommand('scenario.restartServer', restartClient),
    vscode.workspace.onDidChangeConfiguration((event) => {
      if (event.affectsConfiguration(`${SECTION}.serverPath`) || event.affectsConfiguration(`${SECTION}.serverArgs`)) {
        void restartClient();
      }
    }),
  );
  await startClient();
}

export function deactivate(): Promise<void> {
  return stopClient();
}
