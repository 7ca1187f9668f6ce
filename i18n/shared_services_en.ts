<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Mensagem</name>
    <message>
        <source>Confirmação</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Sim</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Não</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Atenção</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MensagemMetodo</name>
    <message>
        <source>o serviço falhou sem informar o motivo</source>
        <translation>the service failed without saying why</translation>
    </message>
    <message>
        <source>resultado inválido</source>
        <translation>invalid result</translation>
    </message>
    <message>
        <source>Erro em %1 (%2): %3</source>
        <translation>Error in %1 (%2): %3</translation>
    </message>
    <message>
        <source>Erro em %1 (%2) com os argumentos %3: %4</source>
        <translation>Error in %1 (%2) with the arguments %3: %4</translation>
    </message>
</context>
<context>
    <name>TADOSqlStorage</name>
    <message>
        <source>O texto SQL não pode ser aplicado: nenhuma consulta vinculada.</source>
        <translation>The SQL text cannot be applied: no query is linked.</translation>
    </message>
    <message>
        <source>O texto SQL não pode ser escolhido: tipo de banco de dados desconhecido.</source>
        <translation>The SQL text cannot be chosen: unknown database kind.</translation>
    </message>
    <message>
        <source>Não há texto SQL para o banco de dados %1 (%2).</source>
        <translation>There is no SQL text for the database %1 (%2).</translation>
    </message>
</context>
<context>
    <name>TMessages</name>
    <message>
        <source>Não foi possível ler a tabela de mensagens %1: %2</source>
        <translation>The message table %1 could not be read: %2</translation>
    </message>
</context>
<context>
    <name>TouchMensagem</name>
    <message>
        <source>Crachá</source>
        <translation>Badge</translation>
    </message>
    <message>
        <source>Mensagem</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Sim</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Não</source>
        <translation>No</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
